#pragma once

#include <QList>
#include <QRgb>
#include <QString>

#include <optional>

class QWidget;

struct ChosenPalette {
    QString path;
    QList<QRgb> colours;
};

// Asks for a palette file in any format the editor reads, in Qt's own file dialog titled `title`
// and started in `folder`, and reads it. Where it is a colour table whose first `used` colours all
// look like a 6-bit VGA palette, asks whether to scale them to 8 bits. Shows what is wrong with a
// file that cannot be read. Nothing when the user cancels at any point or the file cannot be read.
std::optional<ChosenPalette> choosePaletteToRead(QWidget *parent, const QString &title,
                                                 const QString &folder, int used);
