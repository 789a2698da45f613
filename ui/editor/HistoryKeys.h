#pragma once

#include "HistoryHandlers.h"

class QWidget;

// Binds undo and redo to their keys throughout `window`, whichever of its controls has the focus:
// each platform's own keys, and Ctrl+Y for redo as well, which Linux leaves out.
void bindHistoryKeys(QWidget &window, HistoryHandlers &keys);
