#include "RangeCommands.h"

#include "PaletteColours.h"
#include "RangeOperations.h"

#include <QMenu>

RangeCommands::RangeCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                             QWidget &window)
    : m_state(state), m_editing(editing), m_adjust(state, pic, editing, window) {}

void RangeCommands::addItems(QMenu &menu) {
    m_label = menu.addAction(QString());
    m_label->setEnabled(false);
    menu.addAction(QStringLiteral("&Adjust colours\u2026"), &menu,
                   [this] { m_adjust.adjust(m_range.first, m_range.last); });
    m_ramp = menu.addAction(QStringLiteral("Ramp in OK&Lab"), &menu, [this] {
        m_editing.setColours(m_range.first, rampColours(rangeColours()));
    });
    menu.addAction(QStringLiteral("Re&verse order"), &menu,
                   [this] { m_editing.setColours(m_range.first, reverseColours(rangeColours())); });
}

void RangeCommands::prepare(int entry) {
    m_range = menuRange(m_state.anchorSet, m_state.anchorIndex, entry);
    m_label->setText(rangeLabel(m_range));
    // Only entries strictly between the ends take a ramp.
    m_ramp->setEnabled(m_range.last - m_range.first >= 2);
}

QList<QRgb> RangeCommands::rangeColours() const {
    return entryColours(m_state.palette, m_range.first, m_range.last);
}
