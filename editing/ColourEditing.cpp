#include "ColourEditing.h"

#include "PackedColour.h"
#include "PaletteColours.h"

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

bool ColourEditing::setPalette(const Palette &next) {
    const Palette before = m_state.palette;
    for (int entry = firstEntry; entry <= lastEntry; ++entry)
        m_state.palette[entry] = next[entry];
    if (!m_history.recordPalette(before))
        return false;
    m_shown.showPalette();
    return true;
}

bool ColourEditing::setColours(int first, const QList<QRgb> &colours) {
    Palette next = m_state.palette;
    for (int entry = first; entry <= lastEntry && entry - first < colours.size(); ++entry)
        setEntryColour(next, entry, colours[entry - first]);
    return setPalette(next);
}
