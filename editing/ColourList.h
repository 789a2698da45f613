#pragma once

#include <QList>
#include <QRgb>
#include <QString>

// What a clipboard text holding several colours names: one colour per line in any form a single
// paste takes (blank lines skipped), or the whole text of a GIMP, JASC or hex palette.
struct ColourList {
    QList<QRgb> colours;
    // Empty when the text is a list: "Clipboard, line 3: 'grass' is not a colour."
    QString error;
};

// A text with fewer than two lines that are not blank is no list: it gives no colours and no
// error, and is left to the single paste.
ColourList colourListOfText(const QString &text);
