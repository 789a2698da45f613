#pragma once

#include "PaletteFormats.h"

#include <QString>
#include <QStringList>

// The file dialog's filters for Export, one per type, the GIMP palette first.
QStringList exportFilters();

struct ExportTarget {
    QString path;
    PaletteFormat format = PaletteFormat::gimp;
};

// Where and how Export writes, given the name as typed and the filter chosen (an index into
// exportFilters()). A name's own ending wins (.gpl, .hex, .act, .png; .pal is a Microsoft
// palette only when that filter is chosen, else JASC); any other name gets the filter's ending
// added and its type.
ExportTarget exportTarget(const QString &typedPath, int filter);
