#pragma once

#include "PaletteFormats.h"

// Colour tables: 256 × red, green, blue bytes, as europe.act itself, perhaps followed by a
// big-endian count of the colours in use and a transparent index.

// Whether the bytes are as long as a colour table is: 768 or 772 bytes.
bool isColourTable(const QByteArray &bytes);
PaletteRead readColourTable(const QByteArray &bytes);
// Three bytes per colour: 768 for 256.
QByteArray writeColourTable(const QList<QRgb> &colours);
