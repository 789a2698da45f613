#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>

// Reads a line of decimal channel values separated by blanks: red, green and blue, and where
// there are four, an alpha value that is checked and then ignored. least to most numbers are
// read; with `named`, exactly `most` are and anything after them (a colour's name) is allowed.
// Returns an empty string with colour set, or the problem ("300 is not a channel value (0 to
// 255)") for a message naming the line.
QString readDecimalColour(const QByteArray &text, int least, int most, bool named, QRgb &colour);
