#pragma once

#include "EditorState.h"

#include <QList>
#include <QUndoCommand>

// One step of the edit history: the palette rows it rewrote, as they were before and after.
// Whole rows are kept, packed colour included, so undo and redo put back exactly what was there.
class PaletteStep : public QUndoCommand {
public:
    using Row = Palette::value_type;
    struct RowEdit {
        int entry = 0;
        Row before{};
        Row after{};
    };

    void undo() override;
    void redo() override;

protected:
    PaletteStep(Palette &palette, QList<RowEdit> edits);

    Palette &m_palette;
    QList<RowEdit> m_edits;
};
