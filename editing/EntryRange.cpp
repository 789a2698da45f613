#include "EntryRange.h"

#include "TerrainClasses.h"

#include <algorithm>

EntryRange menuRange(bool anchorSet, int anchorIndex, int menuEntry) {
    if (anchorSet && anchorIndex != menuEntry)
        return {std::min(anchorIndex, menuEntry), std::max(anchorIndex, menuEntry), QString()};
    const TerrainClass &terrainClass = terrainClassOf(menuEntry);
    return {terrainClass.first, terrainClass.last, terrainClass.name.toString()};
}

QString rangeLabel(const EntryRange &range) {
    const QString entries = QStringLiteral("Entries %1\u2013%2").arg(range.first).arg(range.last);
    return range.className.isEmpty() ? entries
                                     : entries + QStringLiteral(" \u00b7 ") + range.className;
}
