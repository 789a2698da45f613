#pragma once

#include "EditorState.h"

#include <QList>
#include <QUndoCommand>

// One step of the edit history: the palette rows it rewrote, as they were before and after.
// Whole rows are kept, packed colour included, so undo and redo put back exactly what was there.
// Made from two whole palettes it is the step of every change to many entries at once: an
// import, a pasted list, a range tool, a revert.
class PaletteStep : public QUndoCommand {
public:
    using Row = Palette::value_type;
    struct RowEdit {
        int entry = 0;
        Row before{};
        Row after{};
    };

    // The palette as it was before the change; the change has already been made to `palette`.
    // Only the entries 1..256 that differ are kept.
    PaletteStep(Palette &palette, const Palette &before);

    bool changesNothing() const { return m_edits.isEmpty(); }

    void undo() override;
    void redo() override;

protected:
    PaletteStep(Palette &palette, QList<RowEdit> edits);

    Palette &m_palette;
    QList<RowEdit> m_edits;
};
