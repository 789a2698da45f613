#include "AdjustDialog.h"

#include "CellPreview.h"
#include "DialogPlacement.h"
#include "PackedColour.h"
#include "PaletteColours.h"
#include "RangeOperations.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QSpinBox *settingBox(int minimum, int maximum, const QString &suffix) {
    auto *box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    box->setAlignment(Qt::AlignRight);
    return box;
}

std::int32_t packedOf(QRgb colour) {
    return packedColour(qRed(colour), qGreen(colour), qBlue(colour));
}

} // namespace

AdjustDialog::AdjustDialog(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                           QWidget &window)
    : m_state(state), m_pic(pic), m_editing(editing), m_window(window) {}

void AdjustDialog::make() {
    m_dialog = new QDialog(&m_window);
    // While it previews, no other window of the program may take input; open() would make it
    // window-modal, blocking the editor alone.
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_hue = settingBox(-180, 180, QStringLiteral("\u00b0"));
    // Half a turn either way is the same hue: the arrows go on round.
    m_hue->setWrapping(true);
    m_chroma = settingBox(0, 200, QStringLiteral(" %"));
    m_lightness = settingBox(-100, 100, QString());
    // In a dialog the box makes OK the default button: Enter in a spin box accepts.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto *layout = new QFormLayout(m_dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addRow(QStringLiteral("&Hue"), m_hue);
    layout->addRow(QStringLiteral("Ch&roma"), m_chroma);
    layout->addRow(QStringLiteral("&Lightness"), m_lightness);
    layout->addRow(buttons);

    for (QSpinBox *box : {m_hue, m_chroma, m_lightness})
        QObject::connect(box, &QSpinBox::valueChanged, m_dialog, [this] { preview(adjusted()); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, m_dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, m_dialog, &QDialog::reject);
    QObject::connect(m_dialog, &QDialog::finished, m_dialog,
                     [this](int result) { finish(result); });
}

void AdjustDialog::adjust(int first, int last) {
    if (!m_dialog)
        make();
    // Closed, so setting the boxes previews nothing.
    m_first = 0;
    m_hue->setValue(0);
    m_chroma->setValue(100);
    m_lightness->setValue(0);
    m_colours = entryColours(m_state.palette, first, last);
    m_outlined.clear();
    for (int entry = first; entry <= last; ++entry)
        m_outlined.append(
            hasOutline(m_pic, cellOfEntry(entry), m_state.palette[entry][packedChannel]));
    m_first = first;
    m_dialog->setWindowTitle(QStringLiteral("Adjust entries %1\u2013%2").arg(first).arg(last));
    // Centred on the small editor window, the dialog would hide the cells it previews.
    placeBesideWindow(*m_dialog, m_window);
    // Showing gives it the focus as Tab would, its value selected: typing replaces it.
    m_hue->setFocus();
    m_dialog->show();
}

QList<QRgb> AdjustDialog::adjusted() const {
    return adjustColours(m_colours, m_hue->value(), m_chroma->value(), m_lightness->value());
}

void AdjustDialog::preview(const QList<QRgb> &colours) {
    if (m_first == 0)
        return;
    for (qsizetype i = 0; i < colours.size(); ++i)
        previewCell(m_pic, cellOfEntry(m_first + static_cast<int>(i)), packedOf(colours[i]),
                    m_outlined[i]);
}

void AdjustDialog::finish(int result) {
    const int first = m_first;
    if (first == 0)
        return;
    const QList<QRgb> colours = adjusted();
    // The cells exactly as they were, so that Cancel, or OK on the colours the entries have,
    // leaves every pixel as it found it.
    preview(m_colours);
    m_first = 0;
    if (result == QDialog::Accepted)
        m_editing.setColours(first, colours);
}
