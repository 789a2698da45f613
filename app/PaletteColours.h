#pragma once

#include "EditorState.h"
#include "PackedColour.h"

#include <QList>
#include <QRgb>

// An entry's colour as one opaque QRgb, the form the file formats and the colour arithmetic use.
inline QRgb entryColour(const Palette &palette, int entry) {
    const auto &row = palette[entry];
    return qRgb(row[redChannel], row[greenChannel], row[blueChannel]);
}

// Gives an entry a colour, packed colour included; alpha is dropped.
inline void setEntryColour(Palette &palette, int entry, QRgb colour) {
    auto &row = palette[entry];
    row[redChannel] = qRed(colour);
    row[greenChannel] = qGreen(colour);
    row[blueChannel] = qBlue(colour);
    row[packedChannel] = packedColour(qRed(colour), qGreen(colour), qBlue(colour));
}

// The colours of entries first..last, both included, in entry order.
inline QList<QRgb> entryColours(const Palette &palette, int first, int last) {
    QList<QRgb> colours;
    for (int entry = first; entry <= last; ++entry)
        colours.append(entryColour(palette, entry));
    return colours;
}
