#pragma once

#include "EditHistory.h"
#include "EditorState.h"
#include "PaletteGrid.h"
#include "PointerHandlers.h"

// Undo and redo: take a step back or forth through the history and show the palette as it
// now stands, leaving the selection as it is.
class HistoryHandlers {
public:
    HistoryHandlers(EditorState &state, PaletteGrid &pic, PointerHandlers &pointer,
                    EditHistory &history);

    void undoKey();
    void redoKey();
    // Shows the palette as it now stands: what an undo or a redo ends with.
    void showPalette();

private:
    EditorState &m_state;
    PaletteGrid &m_pic;
    PointerHandlers &m_pointer;
    EditHistory &m_history;
};
