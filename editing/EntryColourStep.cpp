#include "EntryColourStep.h"

EntryColourStep::EntryColourStep(Palette &palette, int entry, const Row &before, const Row &after)
    : PaletteStep(palette, {{entry, before, after}}) {}
