#pragma once

#include "PaletteGrid.h"

#include <cstdint>

// A dialog shows the colour being tried on the grid's cells themselves, leaving the palette alone
// until it is accepted. The grid keeps no record of its outlines, so each cell's outline is read
// from its pixels before the first preview and drawn again over every fill.

// Whether the cell, which holds `packed`, shows an outline: an outline inverts the cell's corner.
bool hasOutline(const PaletteGrid &pic, Cell cell, std::int32_t packed);

// Fills the cell with `packed`, its outline drawn again where it had one.
void previewCell(PaletteGrid &pic, Cell cell, std::int32_t packed, bool outlined);
