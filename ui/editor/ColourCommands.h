#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "EntryColourDialog.h"
#include "PaletteGrid.h"

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;

// Copy, paste and the colour dialog for one entry: from the grid's context menu, opened by the
// right button on a cell or by the Menu key or Shift+F10 on the keyboard cell, and from Ctrl+C
// and Ctrl+V anywhere in the window. None of it changes what is selected.
class ColourCommands : public QObject {
    Q_OBJECT

public:
    ColourCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing, QWidget &window);

    // The selected entry, or with nothing selected the one the read-out last showed.
    void copyKey();
    // The selected entry; with nothing selected nothing happens.
    void pasteKey();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openMenu(Cell cell, QPoint globalPosition);
    void openKeyboardMenu();
    void paste(int entry);
    QColor colourOf(int entry) const;

    EditorState &m_state;
    PaletteGrid &m_pic;
    ColourEditing &m_editing;
    QWidget &m_window;
    EntryColourDialog m_dialog;
    // Made on first use: nothing of it costs start-up time.
    QMenu *m_menu = nullptr;
    QAction *m_title = nullptr;
    QAction *m_paste = nullptr;
    // The entry the menu was opened for.
    int m_menuEntry = 0;
};
