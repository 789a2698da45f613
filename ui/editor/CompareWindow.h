#pragma once

#include "ColourEditing.h"
#include "ComparisonModel.h"
#include "EditHistory.h"
#include "EditorState.h"
#include "HistoryHandlers.h"

#include <QList>
#include <QRgb>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeView;

// The entries whose colours differ from a reference's: at first the palette file as last loaded
// or saved, or another palette file the user picks. Each listed entry, or all of them, can be
// given the reference colour back, each as one undo step. A window of its own beside the editor,
// which stays in use while it is open; the list follows every step the history takes.
class CompareWindow : public QWidget {
    Q_OBJECT

public:
    CompareWindow(const EditorState &state, ColourEditing &editing, HistoryHandlers &historyKeys,
                  const EditHistory &history, QWidget &editor);

    // The colours of the palette file as last loaded or saved, entry 1 first.
    void setSavedPalette(const QList<QRgb> &colours);
    // Shows the window beside the editor with the list focused on its first row, or brings it
    // to the front when it is already open.
    void open();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void showReference();
    void chooseReference();
    void useSavedFile();
    void revertEntry();
    void revertAll();
    const QList<QRgb> &reference() const;

    const EditorState &m_state;
    ColourEditing &m_editing;
    QWidget &m_editor;
    ComparisonModel m_model;
    QList<QRgb> m_saved;
    // Empty while the saved file is the reference.
    QString m_referenceName;
    QList<QRgb> m_chosen;
    // Where "Compare with…" starts: the folder last picked from, at first the palette's.
    QString m_folder;
    QLabel *m_summary = nullptr;
    QTreeView *m_list = nullptr;
    QPushButton *m_savedFile = nullptr;
    QPushButton *m_revert = nullptr;
    QPushButton *m_revertAll = nullptr;
};
