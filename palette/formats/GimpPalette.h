#pragma once

#include "EditorState.h"
#include "PaletteFormats.h"

// GIMP palettes: "GIMP Palette", optional Name:, Columns: and Channels: lines, then one line per
// colour of red, green, blue (and alpha where Channels: says RGBA) and perhaps a name; "#"
// comments and blank lines anywhere.

// Whether the text's first line says GIMP Palette.
bool isGimpPalette(const QByteArray &bytes);
PaletteRead readGimpPalette(const QByteArray &bytes, const QString &source);
// The colours as entries 1, 2, ... each named by its number and terrainNames' class, in GIMP's
// own layout, with LF line ends.
QByteArray writeGimpPalette(const QList<QRgb> &colours, const TerrainNames &terrainNames);
