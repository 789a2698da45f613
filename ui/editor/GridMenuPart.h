#pragma once

class QMenu;

// A group of items in the grid's menu. Each part adds its items once, when the menu is first
// made, and readies them each time the menu opens.
class GridMenuPart {
public:
    virtual ~GridMenuPart() = default;

    virtual void addItems(QMenu &menu) = 0;
    // The menu is about to show for `entry`, 1..256; its items act on that entry from now on.
    virtual void prepare(int entry) = 0;
};
