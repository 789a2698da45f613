#pragma once

#include "PaletteStep.h"

// One gradient fill: every entry it changed, taken back or put back at once.
class GradientFillStep : public PaletteStep {
public:
    // The palette as it was before the fill; the fill has already run on `palette`.
    GradientFillStep(Palette &palette, const Palette &before) : PaletteStep(palette, before) {}
};
