#include "ChannelEditing.h"

#include "PackedColour.h"

ChannelEditing::ChannelEditing(EditorState &state, PaletteGrid &pic, EditorView &view,
                               EditHistory &history)
    : m_state(state), m_pic(pic), m_view(view), m_history(history) {}

void ChannelEditing::change(int channel, int value) {
    // With nothing selected the bars only serve the hover read-out.
    if (!m_state.anchorSet)
        return;
    auto &row = m_state.palette[m_state.anchorIndex];
    const auto before = row;
    row[channel] = value;
    row[packedChannel] = packedColour(row[redChannel], row[greenChannel], row[blueChannel]);
    // The fill paints over the old outline, so the cell ends with exactly one.
    const Cell cell = cellOfEntry(m_state.anchorIndex);
    m_pic.fillCell(cell, row[packedChannel]);
    m_pic.toggleHighlight(cell);
    m_view.setChannelText(channel, QString::number(value));
    m_history.recordChange(m_state.anchorIndex, channel, before);
}

void ChannelEditing::scroll(int channel, int value) {
    m_view.setChannelText(channel, QString::number(value));
}
