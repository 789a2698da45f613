#include "ColourPlacement.h"

#include "EditorState.h"
#include "UserMessages.h"

bool placeColours(ColourEditing &editing, QWidget *parent, int first, const QList<QRgb> &colours,
                  const QString &placed) {
    const bool changed = editing.setColours(first, colours);
    const qsizetype fitting = std::min<qsizetype>(colours.size(), lastEntry - first + 1);
    if (fitting < colours.size())
        showInformation(parent, QStringLiteral("%1 of the %2 colours were %3, into entries "
                                               "%4\u2013%5; %6 would go past entry %5 and were "
                                               "left out.")
                                    .arg(fitting)
                                    .arg(colours.size())
                                    .arg(placed)
                                    .arg(first)
                                    .arg(lastEntry)
                                    .arg(colours.size() - fitting));
    return changed;
}
