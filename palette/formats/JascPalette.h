#pragma once

#include "PaletteFormats.h"

// JASC palettes: lines "JASC-PAL", "0100", the count (1 to 256), then one line of red, green,
// blue (and an alpha, ignored) per colour.

// Whether the text's first line says JASC-PAL.
bool isJascPalette(const QByteArray &bytes);
PaletteRead readJascPalette(const QByteArray &bytes, const QString &source);
// All the colours, with CR LF line ends.
QByteArray writeJascPalette(const QList<QRgb> &colours);
