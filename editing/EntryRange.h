#pragma once

#include <QString>

// The entries the grid menu's range tools work on, first..last, both included.
struct EntryRange {
    int first = 0;
    int last = 0;
    // The terrain class the range is, or empty for a range from the selection.
    QString className;

    friend bool operator==(const EntryRange &, const EntryRange &) = default;
};

// With an entry selected and the menu opened on another one, the entries from the lower of the
// two to the higher; otherwise the terrain class of the entry the menu was opened for.
EntryRange menuRange(bool anchorSet, int anchorIndex, int menuEntry);

// The range as the menu names it: "Entries 27–52 · Grass Close", or "Entries 10–40".
QString rangeLabel(const EntryRange &range);
