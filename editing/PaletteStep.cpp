#include "PaletteStep.h"

#include <utility>

namespace {

QList<PaletteStep::RowEdit> changedRows(const Palette &before, const Palette &after) {
    QList<PaletteStep::RowEdit> edits;
    for (int entry = firstEntry; entry <= lastEntry; ++entry)
        if (before[entry] != after[entry])
            edits.append({entry, before[entry], after[entry]});
    return edits;
}

} // namespace

PaletteStep::PaletteStep(Palette &palette, QList<RowEdit> edits)
    : m_palette(palette), m_edits(std::move(edits)) {}

PaletteStep::PaletteStep(Palette &palette, const Palette &before)
    : PaletteStep(palette, changedRows(before, palette)) {}

void PaletteStep::undo() {
    for (const RowEdit &edit : m_edits)
        m_palette[edit.entry] = edit.before;
}

// Also runs when the step is first recorded; the palette then already holds these rows.
void PaletteStep::redo() {
    for (const RowEdit &edit : m_edits)
        m_palette[edit.entry] = edit.after;
}
