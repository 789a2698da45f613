#include "CompareCommand.h"

#include <QMenu>

CompareCommand::CompareCommand(const EditorState &state, ColourEditing &editing,
                               HistoryHandlers &historyKeys, const EditHistory &history,
                               QWidget &window)
    : m_state(state), m_editing(editing), m_historyKeys(historyKeys), m_history(history),
      m_window(window) {}

void CompareCommand::setSavedPalette(const QByteArray &bytes) { m_saved = bytes; }

void CompareCommand::addItems(QMenu &menu) { menu.addAction(QStringLiteral("Co&mpare\u2026")); }

void CompareCommand::prepare(int) {}
