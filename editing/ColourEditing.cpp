#include "ColourEditing.h"

#include "PackedColour.h"

ColourEditing::ColourEditing(EditorState &state, EditHistory &history, HistoryHandlers &shown)
    : m_state(state), m_history(history), m_shown(shown) {}

bool ColourEditing::setColour(int entry, const QColor &colour) {
    auto &row = m_state.palette[entry];
    const auto before = row;
    row[redChannel] = colour.red();
    row[greenChannel] = colour.green();
    row[blueChannel] = colour.blue();
    row[packedChannel] = packedColour(colour.red(), colour.green(), colour.blue());
    if (row == before)
        return false;
    m_history.recordColour(entry, before);
    m_shown.showPalette();
    return true;
}
