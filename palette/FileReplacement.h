#pragma once

#include "FolderEntry.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// A path that is to be written, resolved once: from then on only the folder's descriptor and the
// name in it are used, and the file is checked through the descriptor that writes it.
struct WriteTarget {
    enum Problem { none, refused, linkSwappedIn, notRegular };
    FolderEntry at;
    FileDescriptor file; // the file there, open for writing; not open where there is none
    struct stat old {};  // what file is, where it is open
    Problem problem = none;
    int error = 0; // the system's reason where refused
};
WriteTarget openWriteTarget(const QString &path);

// Writes all the bytes from the start of the file. Returns the system's reason on failure.
QString writeStart(int fd, const QByteArray &bytes);

// Whether the name still refers to the file that was checked (with none checked: to nothing).
bool stillThere(const FolderEntry &at, const struct stat *old);

// Why a new file could not take old's place without anyone noticing: a second name that would
// keep the old content, an owner the new file cannot be given (only root may give a file away),
// or a folder this user may not rename into. Empty where it can.
QString whyNotReplaceable(int folder, const struct stat &old);

enum class Replacement {
    done,
    unsynced,         // renamed, but the folder could not be synced: error says why
    failed,           // nothing took the name: error says why
    notPossible,      // old is left untouched; error says why where the system said
    replacedMeanwhile // another file took the name while writing; nothing was written
};

// Writes the bytes to a new file beside the old one (none where old is null) and renames it over
// the name once its content is complete and synced; the folder is synced after the rename, so
// that the new name outlasts a power cut. With old (open as oldFd) set, the new file gets its
// owner, group, mode and extended attributes first; where any of that, the rename or opening the
// folder to sync it is refused, the old file is left untouched and the result is notPossible.
// With mustLast, a folder that cannot be opened to sync it is refused even for a file made anew.
Replacement replaceWhole(const FolderEntry &at, const QByteArray &bytes, const struct stat *old,
                         int oldFd, QString &error, bool mustLast = false);
