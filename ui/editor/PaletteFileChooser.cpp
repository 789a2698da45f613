#include "PaletteFileChooser.h"

#include "DialogSettings.h"
#include "PaletteFormats.h"
#include "UserMessages.h"

#include <QDir>
#include <QFileDialog>

std::optional<ChosenPalette> choosePaletteToRead(QWidget *parent, const QString &title,
                                                 const QString &folder, int used) {
    keepDialogSettingsPrivate();
    QFileDialog dialog(parent, title, folder);
    // A desktop's own chooser keeps a history of its own.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The format is told by the content; the filter only narrows what is listed.
    dialog.setNameFilters({QStringLiteral("Palette files (*.gpl *.pal *.hex *.act *.png *.bmp "
                                          "*.gif *.txt)"),
                           QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    ChosenPalette chosen{dialog.selectedFiles().constFirst(), {}};
    PaletteRead read = readPaletteFile(chosen.path);
    if (!read.error.isEmpty()) {
        showError(parent, read.error);
        return std::nullopt;
    }
    if (read.fromColourTable &&
        looksSixBit(read.colours.first(std::min<qsizetype>(used, read.colours.size())))) {
        const QString text =
            QStringLiteral("Every value in %1 lies between 0 and 63, as in a 6-bit VGA palette.\n\n"
                           "Scale the colours to 8 bits (63 becomes 255)?")
                .arg(QDir::toNativeSeparators(chosen.path));
        switch (askQuestion(parent,
                            {text, {Answer::scale, Answer::keep, Answer::cancel}, Answer::scale})) {
        case Answer::scale:
            read.colours = scaleSixBit(read.colours);
            break;
        case Answer::keep:
            break;
        default:
            return std::nullopt;
        }
    }
    chosen.colours = std::move(read.colours);
    return chosen;
}
