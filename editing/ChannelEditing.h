#pragma once

#include "EditHistory.h"
#include "EditorState.h"
#include "EditorView.h"
#include "PaletteGrid.h"

// The three channel bars: a change writes the selected entry's channel and repaints its cell;
// a drag only updates the value read-out until the thumb is let go.
class ChannelEditing {
public:
    ChannelEditing(EditorState &state, PaletteGrid &pic, EditorView &view, EditHistory &history);

    void change(int channel, int value);
    void scroll(int channel, int value);

private:
    EditorState &m_state;
    PaletteGrid &m_pic;
    EditorView &m_view;
    EditHistory &m_history;
};
