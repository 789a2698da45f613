#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "PaletteGrid.h"

#include <QColor>

class QColorDialog;
class QWidget;

// Qt's own colour dialog for one entry. While it is open the entry's cell shows the colour
// being picked; OK gives the entry that colour, Cancel leaves grid and palette as they were.
class EntryColourDialog {
public:
    EntryColourDialog(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                      QWidget &window);

    void edit(int entry);

private:
    void preview(const QColor &colour);
    void finish(int result);

    EditorState &m_state;
    PaletteGrid &m_pic;
    ColourEditing &m_editing;
    QWidget &m_window;
    // Made on first use: nothing of it costs start-up time.
    QColorDialog *m_dialog = nullptr;
    // The entry being edited, 0 while the dialog is closed.
    int m_entry = 0;
    bool m_outlined = false;
};
