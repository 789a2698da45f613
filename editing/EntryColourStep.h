#pragma once

#include "PaletteStep.h"

// One entry given a new colour at once, from the clipboard or the colour dialog.
class EntryColourStep : public PaletteStep {
public:
    // `palette` already holds `after` in row `entry`.
    EntryColourStep(Palette &palette, int entry, const Row &before, const Row &after);
};
