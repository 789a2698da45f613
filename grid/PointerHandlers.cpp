#include "PointerHandlers.h"

PointerHandlers::PointerHandlers(EditorState &state, PaletteGrid &pic, EditorView &view)
    : m_state(state), m_pic(pic), m_view(view) {
    m_pic.setEntryDescriber([&state](int entry) {
        const auto &row = state.palette[entry];
        return QStringLiteral("Entry %1, %2, red %3, green %4, blue %5")
            .arg(entry)
            .arg(state.terrainNames[entry])
            .arg(row[redChannel])
            .arg(row[greenChannel])
            .arg(row[blueChannel]);
    });
}

void PointerHandlers::mouseMove(float x, float y) {
    // Positions beyond the grid only arrive while a press on the grid is dragged out. They are
    // not recorded, so a click always falls on an entry 1..256.
    if (!isInsideGrid(x, y))
        return;
    if (!m_state.anchorSet) {
        const Cell cell = cellOfPoint(x, y);
        m_state.pointerX = x;
        m_state.pointerY = y;
        showReadout(entryOfCell(cell));
    } else if (m_state.isSpreadArmed()) {
        m_state.pointerX = x;
        m_state.pointerY = y;
    }
    // Selected and not armed: the recorded position stays on the selected cell.
}

void PointerHandlers::showReadout(int entry) {
    showChannels(entry);
    m_view.setClassText(m_state.terrainNames[entry]);
}

void PointerHandlers::showChannels(int entry) {
    const auto &row = m_state.palette[entry];
    for (int channel = redChannel; channel <= blueChannel; ++channel) {
        m_view.setBarValue(channel, row[channel]);
        m_view.setChannelText(channel, QString::number(row[channel]));
    }
}

void PointerHandlers::click() {
    const Cell cell = cellOfPoint(m_state.pointerX, m_state.pointerY);
    const int entry = entryOfCell(cell);
    if (!m_state.anchorSet) {
        m_pic.toggleHighlight(cell);
        m_state.anchorSet = true;
        m_state.anchorIndex = entry;
        m_view.setSpreadEnabled(true);
    } else if (m_state.anchorIndex == entry) {
        // Drawing the outline again erases it; the armed spread survives a deselect.
        m_state.anchorSet = false;
        m_pic.toggleHighlight(cell);
    } else if (m_state.isSpreadArmed()) {
        m_state.targetIndex = entry;
        m_view.setSpreadEnabled(false);
        m_view.activateFill();
    }
}
