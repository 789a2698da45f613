#pragma once

#include "AdjustDialog.h"
#include "ColourEditing.h"
#include "EditorState.h"
#include "EntryRange.h"
#include "GridMenuPart.h"
#include "PaletteGrid.h"

#include <QList>
#include <QRgb>

class QAction;

// The range tools of the grid's menu: a line naming the range (the class of the entry the menu
// was opened for, or from the selected entry to it), "Adjust colours…", "Ramp in OKLab" and
// "Reverse order". Each change is one undo step; the selection stays.
class RangeCommands : public GridMenuPart {
public:
    RangeCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing, QWidget &window);

    // GridMenuPart
    void addItems(QMenu &menu) override;
    void prepare(int entry) override;

private:
    QList<QRgb> rangeColours() const;

    EditorState &m_state;
    ColourEditing &m_editing;
    AdjustDialog m_adjust;
    QAction *m_label = nullptr;
    QAction *m_ramp = nullptr;
    // The range of the entry the menu was opened for.
    EntryRange m_range;
};
