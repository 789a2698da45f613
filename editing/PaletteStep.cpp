#include "PaletteStep.h"

#include <utility>

PaletteStep::PaletteStep(Palette &palette, QList<RowEdit> edits)
    : m_palette(palette), m_edits(std::move(edits)) {}

void PaletteStep::undo() {
    for (const RowEdit &edit : m_edits)
        m_palette[edit.entry] = edit.before;
}

// Also runs when the step is first recorded; the palette then already holds these rows.
void PaletteStep::redo() {
    for (const RowEdit &edit : m_edits)
        m_palette[edit.entry] = edit.after;
}
