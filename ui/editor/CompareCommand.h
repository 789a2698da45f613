#pragma once

#include "ColourEditing.h"
#include "CompareWindow.h"
#include "EditHistory.h"
#include "EditorState.h"
#include "GridMenuPart.h"
#include "HistoryHandlers.h"

#include <QList>
#include <QRgb>

// "Compare…" in the grid's menu: opens the Compare window, made on first use, or brings it to
// the front.
class CompareCommand : public GridMenuPart {
public:
    CompareCommand(const EditorState &state, ColourEditing &editing, HistoryHandlers &historyKeys,
                   const EditHistory &history, QWidget &window);

    // The palette file as last loaded or saved, 768 bytes: the first reference.
    void setSavedPalette(const QList<QRgb> &colours);

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    void open();

    const EditorState &m_state;
    ColourEditing &m_editing;
    HistoryHandlers &m_historyKeys;
    const EditHistory &m_history;
    QWidget &m_window;
    QList<QRgb> m_saved;
    // Made on first use: nothing of it costs start-up time. A child of the editor window, it
    // goes with it.
    CompareWindow *m_compare = nullptr;
};
