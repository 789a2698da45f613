#pragma once

#include <QIcon>

// A small folder picture for the folder list. Drawn here rather than taken from the icon theme,
// whose first lookup costs more than the rest of the dialog's start-up. It is drawn afresh at
// whatever size and device pixel ratio it is shown, so it stays sharp on a scaled screen.
QIcon folderIcon();
