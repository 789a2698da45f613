#pragma once

#include "ColourEditing.h"
#include "EditorState.h"
#include "PaletteGrid.h"

#include <QList>
#include <QRgb>

class QDialog;
class QSpinBox;
class QWidget;

// "Adjust colours…" for a range of entries: hue, chroma and lightness in OKLab. Every change shows
// at once on the range's cells; OK gives the entries those colours as one undo step, Cancel leaves
// grid and palette as they were.
class AdjustDialog {
public:
    AdjustDialog(EditorState &state, PaletteGrid &pic, ColourEditing &editing, QWidget &window);

    // Opens the dialog for entries first..last, 1..256, with the settings that change nothing.
    void adjust(int first, int last);

private:
    void make();
    QList<QRgb> adjusted() const;
    void preview(const QList<QRgb> &colours);
    void finish(int result);

    EditorState &m_state;
    PaletteGrid &m_pic;
    ColourEditing &m_editing;
    QWidget &m_window;
    // Made on first use: nothing of it costs start-up time.
    QDialog *m_dialog = nullptr;
    QSpinBox *m_hue = nullptr;
    QSpinBox *m_chroma = nullptr;
    QSpinBox *m_lightness = nullptr;
    // The first entry of the range, 0 while the dialog is closed.
    int m_first = 0;
    // The range's colours and outlines as they were when the dialog opened.
    QList<QRgb> m_colours;
    QList<bool> m_outlined;
};
