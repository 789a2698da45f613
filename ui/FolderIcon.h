#pragma once

#include <QIcon>

// A small folder picture for the folder list. Drawn here rather than taken from the icon theme,
// whose first lookup costs more than the rest of the dialog's start-up.
QIcon folderIcon();
