#pragma once

#include "EditorState.h"
#include "PaletteStep.h"

#include <QUndoStack>

// The undo history of the palette. A step is a bar change that wrote a new value or a fill
// that changed at least one entry; anything that changes nothing leaves the history alone.
class EditHistory {
public:
    explicit EditHistory(Palette &palette);

    // The bar change of `channel` has just rewritten `entry`, which held `before`.
    void recordChange(int entry, int channel, const PaletteStep::Row &before);
    // A fill has just rewritten the palette, which held `before`.
    void recordFill(const Palette &before);
    // `entry` has just been given a colour from outside the bars, and held `before`.
    void recordColour(int entry, const PaletteStep::Row &before);
    // Many entries have just been given colours at once (an import, a pasted list, a range tool,
    // a revert); the palette held `before`. False, with no step, when no entry changed.
    bool recordPalette(const Palette &before);

    // Each returns false, and changes nothing, when there is no step to take.
    bool undo();
    bool redo();

    const QUndoStack &stack() const { return m_stack; }

private:
    Palette &m_palette;
    QUndoStack m_stack;
    // Left to itself the stack would also merge into the step below the index after an undo,
    // or into a step just redone: an undo or a redo ends the run of changes.
    bool m_runOpen = false;
};
