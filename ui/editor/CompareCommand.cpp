#include "CompareCommand.h"

#include <QMenu>

CompareCommand::CompareCommand(const EditorState &state, ColourEditing &editing,
                               HistoryHandlers &historyKeys, const EditHistory &history,
                               QWidget &window)
    : m_state(state), m_editing(editing), m_historyKeys(historyKeys), m_history(history),
      m_window(window) {}

void CompareCommand::setSavedPalette(const QList<QRgb> &colours) {
    m_saved = colours;
    if (m_compare)
        m_compare->setSavedPalette(colours);
}

void CompareCommand::addItems(QMenu &menu) {
    menu.addAction(QStringLiteral("Co&mpare\u2026"), &menu, [this] { open(); });
}

void CompareCommand::open() {
    if (!m_compare) {
        m_compare = new CompareWindow(m_state, m_editing, m_historyKeys, m_history, m_window);
        m_compare->setSavedPalette(m_saved);
    }
    m_compare->open();
}

void CompareCommand::prepare(int) {}
