#pragma once

#include "PaletteFormats.h"

// Microsoft palettes: a RIFF file of form "PAL " whose "data" chunk holds version 0x0300, a
// count and count × (red, green, blue, flags).

// Whether the bytes start as a RIFF palette does.
bool isMicrosoftPalette(const QByteArray &bytes);
PaletteRead readMicrosoftPalette(const QByteArray &bytes, const QString &source);
// All the colours, flags 0.
QByteArray writeMicrosoftPalette(const QList<QRgb> &colours);
