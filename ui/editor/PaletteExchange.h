#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "GridMenuPart.h"

// Palettes in and out through the grid's menu: "Copy whole palette", "Import palette…" from the
// entry the menu was opened for, and "Export palette…" of all 256 entries.
class PaletteExchange : public GridMenuPart {
public:
    PaletteExchange(const EditorState &state, ColourEditing &editing, QWidget &window);

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    const EditorState &m_state;
    ColourEditing &m_editing;
    QWidget &m_window;
    int m_menuEntry = 0;
};
