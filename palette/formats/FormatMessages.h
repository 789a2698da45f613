#pragma once

#include <QByteArray>
#include <QString>

struct PaletteRead;

// The messages the readers give, each naming the source first.

// A reading that failed with the given text.
PaletteRead readFailure(const QString &error);

// "<source>, line 7: <problem>."
PaletteRead lineFailure(const QString &source, int line, const QString &problem);

// "<source> is not a palette file the editor reads."
PaletteRead notAPalette(const QString &source);

// "<source> is a palette with no colours."
PaletteRead noColours(const QString &source);

// Text from a file as a message shows it: in quotes, and shortened where it is long.
QString quoted(const QByteArray &text);

// Whether a word looks like a whole number: digits, perhaps after a sign.
bool looksNumeric(const QByteArray &word);

// A word from a file that should have been a number: as it is where it looks like one (so
// "300 is not a channel value"), else quoted.
QString shownNumber(const QByteArray &word);
