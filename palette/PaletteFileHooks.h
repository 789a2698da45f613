#pragma once

#include <QString>

// Seams for tests that change the file system at the one moment a race would: null in the
// program. Each is called with the path that was passed to loadPalette or savePalette.
using PaletteFileHook = void (*)(const QString &path);

// Called once the file to be saved was opened and checked, before anything is written.
inline PaletteFileHook afterSaveChecked = nullptr;

// Called once the path to be loaded was resolved and looked at, before it is opened.
inline PaletteFileHook afterLoadResolved = nullptr;
