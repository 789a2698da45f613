#pragma once

#include "EditorState.h"

#include <QByteArray>
#include <QString>

// A palette file is 256 entries of red, green and blue bytes, nothing else.
constexpr qint64 paletteFileSize = 768;

// Reads the first 768 bytes of the file at path into rows 1..256 of palette, packed colours
// included. Returns an empty string on success; otherwise an error text naming the file and
// the problem, and palette is left exactly as it was.
QString loadPalette(const QString &path, Palette &palette);

// Writes rows 1..256 of palette to path as exactly 768 bytes. The old file is replaced only
// once the new content is complete, so a failure leaves it whole. Returns an empty string on
// success, otherwise an error text naming the file and the reason.
QString savePalette(const QString &path, const Palette &palette);

// The bytes savePalette writes.
QByteArray paletteBytes(const Palette &palette);

// Sets rows 1..256 of palette, packed colours included, from 768 bytes.
void setPaletteFromBytes(Palette &palette, const QByteArray &bytes);
