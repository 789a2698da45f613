#pragma once

#include "PaletteFormats.h"

#include <QSize>

// Palettes in PNG, BMP and GIF images: an indexed image's colour table, else one colour per
// square of a 16 × 16 grid or of a row of squares.

// The largest image read: a side of 8192 pixels and 16,777,216 pixels in all (4096 × 4096).
constexpr int imageSideLimit = 8192;
constexpr qint64 imagePixelLimit = 16'777'216;
// The largest image file read: the largest image stored uncompressed at 32 bits a pixel, with
// 1 MiB for its headers, colour table and whatever else a file may hold. A larger file cannot
// hold an image that is read.
constexpr qint64 imageFileLimit = 4 * imagePixelLimit + (1 << 20);

// Whether the bytes start with a PNG, BMP or GIF signature.
bool isPaletteImage(const QByteArray &bytes);

// Where the image's header, which may be all the bytes hold, gives a size over the limits: the
// message that refuses it; else an empty string.
QString imageTooLarge(const QByteArray &bytes, const QString &source);

PaletteRead readPaletteImage(const QByteArray &bytes, const QString &source);

// A 256 × 256 indexed PNG whose colour table is the 256 colours in order, each 16 × 16 cell
// filled with its entry's index: the grid as the editor shows it.
QByteArray writePaletteImage(const QList<QRgb> &colours);
