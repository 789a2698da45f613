#pragma once

#include "EditHistory.h"
#include "EditorState.h"
#include "HistoryHandlers.h"

#include <QColor>

// Gives one entry an exact colour, whatever is selected: one undo step, after which the editor
// shows the palette as it does after an undo.
class ColourEditing {
public:
    ColourEditing(EditorState &state, EditHistory &history, HistoryHandlers &shown);

    // False, with nothing changed or drawn, when the entry already has this colour.
    bool setColour(int entry, const QColor &colour);

private:
    EditorState &m_state;
    EditHistory &m_history;
    HistoryHandlers &m_shown;
};
