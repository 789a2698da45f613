#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "GridMenuPart.h"

class QWidget;

// Palettes in and out through the grid's menu: "Copy whole palette" as text, "Import palette…"
// into consecutive entries from the entry the menu was opened for, and "Export palette…" of all
// 256 entries in the format the user picks. Export changes nothing in the editor.
class PaletteExchange : public GridMenuPart {
public:
    PaletteExchange(const EditorState &state, ColourEditing &editing, QWidget &window);

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    void copyWholePalette();
    void importPalette();
    void exportPalette();
    QString folder() const;

    const EditorState &m_state;
    ColourEditing &m_editing;
    QWidget &m_window;
    // The entry the menu was opened for.
    int m_menuEntry = firstEntry;
};
