#pragma once

#include "PaletteFormats.h"

// Hex colour lists: one colour per line, "rrggbb" or "#rrggbb", or "aarrggbb" as Paint.NET
// writes it (alpha ignored); blank lines and lines starting with ";" are skipped.

// Whether the first line that is neither blank nor a comment is a hex colour.
bool isHexList(const QByteArray &bytes);
PaletteRead readHexList(const QByteArray &bytes, const QString &source);
// All the colours as lower-case "rrggbb" lines with LF line ends.
QByteArray writeHexList(const QList<QRgb> &colours);
