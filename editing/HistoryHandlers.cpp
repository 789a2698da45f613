#include "HistoryHandlers.h"

HistoryHandlers::HistoryHandlers(EditorState &state, PaletteGrid &pic, PointerHandlers &pointer,
                                 EditHistory &history)
    : m_state(state), m_pic(pic), m_pointer(pointer), m_history(history) {}

void HistoryHandlers::undoKey() {
    if (m_history.undo())
        showPalette();
}

void HistoryHandlers::redoKey() {
    if (m_history.redo())
        showPalette();
}

void HistoryHandlers::showPalette() {
    if (m_state.anchorSet) {
        // The bars' change handler writes back the values the entry already holds, which
        // makes no step.
        m_pointer.showChannels(m_state.anchorIndex);
    } else {
        // As a pointer movement to the recorded position would, Spread armed or not: the
        // read-out follows the pointer's entry then, so it must not keep undone values. The
        // position lies inside the grid.
        m_pointer.mouseMove(m_state.pointerX, m_state.pointerY);
    }
    // Last, so that it also paints over the outlines the bars' change handler just drew.
    m_pic.redrawGrid(m_state.palette);
    if (m_state.anchorSet && !m_state.isSpreadArmed())
        m_pic.toggleHighlight(cellOfEntry(m_state.anchorIndex));
}
