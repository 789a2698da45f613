#pragma once

#include <QString>

// Seams for tests that change the file system at the one moment a race would: null in the
// program. Each is called with the path that was passed to loadPalette or savePalette.
using PaletteFileHook = void (*)(const QString &path);

// Called once the file to be saved was opened and checked, before anything is written.
inline PaletteFileHook afterSaveChecked = nullptr;

// Called once the path to be loaded was resolved and looked at, before it is opened.
inline PaletteFileHook afterLoadResolved = nullptr;

// The calls that make a new file's content and then its name last, in the order they are made.
enum class DurableStep { syncFile, rename, syncFolder };

// Called just before each of them with the descriptor it works on (the new file, or the folder;
// the folder's for the rename). A nonzero result is taken as that call's errno and the call is
// not made, so a test can see a failure no disk of its own would give.
using DurableStepHook = int (*)(DurableStep step, int fd);
inline DurableStepHook beforeDurableStep = nullptr;
