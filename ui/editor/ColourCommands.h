#pragma once

#include "ColourEditing.h"
#include "ColourList.h"
#include "EditorState.h"
#include "EntryColourDialog.h"
#include "GridMenuPart.h"
#include "PaletteGrid.h"

#include <QObject>

class QAction;

// Copy, paste and the colour dialog for one entry: the grid menu's "Copy colour", "Paste colour"
// and "Edit colour…" for the entry it was opened on, and Ctrl+C and Ctrl+V anywhere in the
// window. A pasted text of several colours fills consecutive entries from there. None of it
// changes what is selected.
class ColourCommands : public QObject, public GridMenuPart {
    Q_OBJECT

public:
    ColourCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing, QWidget &window);

    // The selected entry, or with nothing selected the one the read-out last showed.
    void copyKey();
    // The selected entry; with nothing selected nothing happens.
    void pasteKey();

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    void paste(int entry);
    // The clipboard's text as a list of several colours; none when it is not one.
    ColourList clipboardList() const;
    QColor colourOf(int entry) const;

    EditorState &m_state;
    ColourEditing &m_editing;
    QWidget &m_window;
    EntryColourDialog m_dialog;
    QAction *m_paste = nullptr;
    // The entry the menu was opened for.
    int m_menuEntry = 0;
};
