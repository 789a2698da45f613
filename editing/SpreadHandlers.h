#pragma once

#include "EditHistory.h"
#include "EditorState.h"
#include "PaletteGrid.h"

// Spread arms the second pick; the fill runs when the second pick activates the hidden
// trigger.
class SpreadHandlers {
public:
    SpreadHandlers(EditorState &state, PaletteGrid &pic, EditHistory &history);

    void spreadClick();
    void fillClick();

private:
    EditorState &m_state;
    PaletteGrid &m_pic;
    EditHistory &m_history;
};
