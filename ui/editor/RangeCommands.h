#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "GridMenuPart.h"
#include "PaletteGrid.h"

// The range tools of the grid's menu: a line naming the range (the class of the entry the menu
// was opened for, or from the selected entry to it), "Adjust colours…", "Ramp in OKLab" and
// "Reverse order".
class RangeCommands : public GridMenuPart {
public:
    RangeCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing, QWidget &window);

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    EditorState &m_state;
    PaletteGrid &m_pic;
    ColourEditing &m_editing;
    QWidget &m_window;
};
