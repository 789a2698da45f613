#include "PaletteComparison.h"

#include "PaletteColours.h"

#include <algorithm>

PaletteComparison comparePalettes(const Palette &palette, const QList<QRgb> &reference) {
    PaletteComparison comparison;
    comparison.compared = static_cast<int>(std::min<qsizetype>(reference.size(), entryCount));
    for (int entry = firstEntry; entry <= comparison.compared; ++entry) {
        // The reference may come with alpha from its reader; only the colour is compared.
        const QRgb wanted = reference[entry - firstEntry] | 0xff000000u;
        const QRgb now = entryColour(palette, entry);
        if (now != wanted)
            comparison.differences.append({entry, wanted, now});
    }
    return comparison;
}

Palette revertedPalette(const Palette &palette, const QList<EntryDifference> &differences) {
    Palette next = palette;
    for (const EntryDifference &difference : differences)
        setEntryColour(next, difference.entry, difference.reference);
    return next;
}

QString comparisonSummary(const PaletteComparison &comparison) {
    const qsizetype differing = comparison.differences.size();
    if (differing == 0)
        return QStringLiteral("No entry differs");
    return QStringLiteral("%1 of %2 entries %3")
        .arg(differing)
        .arg(comparison.compared)
        .arg(differing == 1 ? QStringLiteral("differs") : QStringLiteral("differ"));
}
