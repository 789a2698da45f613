#pragma once

#include "EditorState.h"

#include <QList>
#include <QRgb>
#include <QString>

// An entry whose colour is not the reference's.
struct EntryDifference {
    int entry = 0;
    QRgb reference = 0;
    QRgb now = 0;

    friend bool operator==(const EntryDifference &, const EntryDifference &) = default;
};

struct PaletteComparison {
    // Entries 1..compared are compared: as many as the reference has colours, at most 256.
    int compared = 0;
    // In entry order.
    QList<EntryDifference> differences;
};

// Reference colour k stands for entry k; colours past entry 256 are ignored, and entries past the
// reference's last colour are not compared. Only red, green and blue count.
PaletteComparison comparePalettes(const Palette &palette, const QList<QRgb> &reference);

// The palette with every listed entry given its reference colour, packed colour included.
Palette revertedPalette(const Palette &palette, const QList<EntryDifference> &differences);

// "3 of 256 entries differ", "1 of 40 entries differs", "No entry differs".
QString comparisonSummary(const PaletteComparison &comparison);
