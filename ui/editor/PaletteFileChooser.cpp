#include "PaletteFileChooser.h"

std::optional<ChosenPalette> choosePaletteToRead(QWidget *, const QString &, const QString &,
                                                 int) {
    return std::nullopt;
}
