#include "CellPreview.h"

bool hasOutline(const PaletteGrid &pic, Cell cell, std::int32_t packed) {
    return pic.image().pixel(cellRect(cell).topLeft()) != rgbOfPacked(packed);
}

void previewCell(PaletteGrid &pic, Cell cell, std::int32_t packed, bool outlined) {
    pic.fillCell(cell, packed);
    if (outlined)
        pic.toggleHighlight(cell);
}
