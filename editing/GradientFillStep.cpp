#include "GradientFillStep.h"

namespace {

QList<PaletteStep::RowEdit> changedRows(const Palette &before, const Palette &after) {
    QList<PaletteStep::RowEdit> edits;
    for (int entry = firstEntry; entry <= lastEntry; ++entry)
        if (before[entry] != after[entry])
            edits.append({entry, before[entry], after[entry]});
    return edits;
}

} // namespace

GradientFillStep::GradientFillStep(Palette &palette, const Palette &before)
    : PaletteStep(palette, changedRows(before, palette)) {}
