#pragma once

class QWidget;

// Moves a dialog that previews on the grid to the right of the editor window, or to its left where
// only that side has room, so that it does not cover the cells it changes; moved back only as far
// as the screen's edge demands.
void placeBesideWindow(QWidget &dialog, const QWidget &window);
