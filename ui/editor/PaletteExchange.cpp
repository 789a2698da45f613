#include "PaletteExchange.h"

#include "ColourPlacement.h"
#include "DialogSettings.h"
#include "ExportFile.h"
#include "ExportNaming.h"
#include "PaletteColours.h"
#include "PaletteFileChooser.h"
#include "UserMessages.h"

#include <QClipboard>
#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

PaletteExchange::PaletteExchange(const EditorState &state, ColourEditing &editing, QWidget &window)
    : m_state(state), m_editing(editing), m_window(window) {}

void PaletteExchange::addItems(QMenu &menu) {
    menu.addAction(QStringLiteral("Copy &whole palette"), &menu, [this] { copyWholePalette(); });
    menu.addAction(QStringLiteral("&Import palette\u2026"), &menu, [this] { importPalette(); });
    menu.addAction(QStringLiteral("E&xport palette\u2026"), &menu, [this] { exportPalette(); });
}

void PaletteExchange::prepare(int entry) { m_menuEntry = entry; }

QString PaletteExchange::folder() const {
    return QFileInfo(m_state.paletteFilePath).absolutePath();
}

void PaletteExchange::copyWholePalette() {
    QString text;
    for (const QRgb colour : entryColours(m_state.palette, firstEntry, lastEntry))
        text += QColor(colour).name() + QLatin1Char('\n');
    QGuiApplication::clipboard()->setText(text);
}

void PaletteExchange::importPalette() {
    const int first = m_menuEntry;
    if (const std::optional<ChosenPalette> chosen = choosePaletteToRead(
            &m_window, QStringLiteral("Import palette"), folder(), lastEntry - first + 1))
        placeColours(m_editing, &m_window, first, chosen->colours, QStringLiteral("imported"));
}

void PaletteExchange::exportPalette() {
    keepDialogSettingsPrivate();
    QFileDialog dialog(&m_window, QStringLiteral("Export palette"), folder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = exportFilters();
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString typed = dialog.selectedFiles().constFirst();
    const ExportTarget target =
        exportTarget(typed, int(filters.indexOf(dialog.selectedNameFilter())));
    // The dialog asked about the name as typed; an ending added since makes another name.
    if (target.path != typed && QFileInfo::exists(target.path)) {
        const QString text = QStringLiteral("%1 already exists.\n\nReplace it?")
                                 .arg(QDir::toNativeSeparators(target.path));
        if (askQuestion(&m_window, {text, {Answer::replace, Answer::cancel}, Answer::cancel}) !=
            Answer::replace)
            return;
    }
    const QByteArray bytes = writePaletteBytes(entryColours(m_state.palette, firstEntry, lastEntry),
                                               target.format, m_state.terrainNames);
    if (const QString error = exportFile(target.path, bytes, m_state.paletteFilePath);
        !error.isEmpty())
        showError(&m_window, error);
}
