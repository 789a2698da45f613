#include "SpreadHandlers.h"

#include "Gradient.h"

SpreadHandlers::SpreadHandlers(EditorState &state, PaletteGrid &pic, EditHistory &history)
    : m_state(state), m_pic(pic), m_history(history) {}

void SpreadHandlers::spreadClick() {
    // No test of the state: right after a selection the recorded position lies on the
    // selected cell, so this erases its outline; pressed again it brings it back.
    m_state.spreadArmed = armedTrue;
    m_pic.toggleHighlight(cellOfPoint(m_state.pointerX, m_state.pointerY));
}

void SpreadHandlers::fillClick() {
    const Palette before = m_state.palette;
    fillGradient(m_state.palette, m_state.anchorIndex, m_state.targetIndex);
    m_history.recordFill(before);
    // The redraw paints over every outline, wherever Spread left one.
    m_pic.redrawGrid(m_state.palette);
    m_state.anchorSet = false;
    m_state.spreadArmed = armedFalse;
}
