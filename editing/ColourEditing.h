#pragma once

#include "EditHistory.h"
#include "EditorState.h"
#include "HistoryHandlers.h"

#include <QColor>
#include <QList>
#include <QRgb>

// Gives entries exact colours, whatever is selected: one undo step for each change, after which
// the editor shows the palette as it does after an undo. The selection and an armed Spread stay.
class ColourEditing {
public:
    ColourEditing(EditorState &state, EditHistory &history, HistoryHandlers &shown);

    // False, with nothing changed or drawn, when the entry already has this colour.
    bool setColour(int entry, const QColor &colour);

    // Gives entries 1..256 the colours of `next` as one step (rows 0 and 257 are not looked at).
    // False, with nothing changed or drawn, when every entry already has its colour.
    bool setPalette(const Palette &next);
    // Gives consecutive entries from `first` the colours in turn, as one step; colours that would
    // go past entry 256 are left out. False when no entry changed.
    bool setColours(int first, const QList<QRgb> &colours);

private:
    EditorState &m_state;
    EditHistory &m_history;
    HistoryHandlers &m_shown;
};
