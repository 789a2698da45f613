#include "EntryColourDialog.h"

#include "CellPreview.h"
#include "DialogPlacement.h"
#include "DialogSettings.h"
#include "PackedColour.h"

#include <QColorDialog>

EntryColourDialog::EntryColourDialog(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                                     QWidget &window)
    : m_state(state), m_pic(pic), m_editing(editing), m_window(window) {}

void EntryColourDialog::edit(int entry) {
    if (!m_dialog) {
        keepDialogSettingsPrivate();
        m_dialog = new QColorDialog(&m_window);
        // While it previews, no other window of the program, the Compare window included, may
        // take input: a window-modal dialog would block only the editor itself.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        // The desktop's own dialog may lack the hex field and the screen picker, and may not
        // report the colour while it is being picked.
        m_dialog->setOption(QColorDialog::DontUseNativeDialog);
        QObject::connect(m_dialog, &QColorDialog::currentColorChanged, m_dialog,
                         [this](const QColor &colour) { preview(colour); });
        QObject::connect(m_dialog, &QColorDialog::finished, m_dialog,
                         [this](int result) { finish(result); });
    }
    const std::int32_t packed = m_state.palette[entry][packedChannel];
    m_dialog->setWindowTitle(
        QStringLiteral("Colour of entry %1 \u00b7 %2").arg(entry).arg(m_state.terrainNames[entry]));
    m_dialog->setCurrentColor(colourOfPacked(packed));
    m_outlined = hasOutline(m_pic, cellOfEntry(entry), packed);
    m_entry = entry;
    // Centred on the small editor window, the dialog would hide the cell it previews.
    placeBesideWindow(*m_dialog, m_window);
    // Not open(): it would make the dialog window-modal.
    m_dialog->show();
}

void EntryColourDialog::preview(const QColor &colour) {
    if (m_entry == 0)
        return;
    previewCell(m_pic, cellOfEntry(m_entry),
                packedColour(colour.red(), colour.green(), colour.blue()), m_outlined);
}

void EntryColourDialog::finish(int result) {
    const int entry = m_entry;
    if (entry == 0)
        return;
    // The cell exactly as it was, so that Cancel, or OK on the colour the entry has, leaves
    // every pixel as it found it.
    preview(colourOfPacked(m_state.palette[entry][packedChannel]));
    m_entry = 0;
    if (result == QDialog::Accepted)
        m_editing.setColour(entry, m_dialog->selectedColor());
}
