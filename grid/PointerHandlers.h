#pragma once

#include "EditorState.h"
#include "EditorView.h"
#include "PaletteGrid.h"

// Pointer movement over the grid and clicks on it: the hover read-out, selecting and
// dropping an entry, and the second pick that starts a spread.
class PointerHandlers {
public:
    PointerHandlers(EditorState &state, PaletteGrid &pic, EditorView &view);

    void mouseMove(float x, float y);
    void click();

    // Sets the bars and their read-outs to an entry's channels, as the hover read-out does.
    void showChannels(int entry);

private:
    void showReadout(int entry);

    EditorState &m_state;
    PaletteGrid &m_pic;
    EditorView &m_view;
};
