#pragma once

#include "FileDescriptor.h"

#include <QByteArray>
#include <QString>

// A name inside an open folder. Working from the folder's descriptor and a name in it, rather
// than from the whole path each time, means no folder or link on the way can be swapped for
// another between one step and the next.
struct FolderEntry {
    FileDescriptor folder;    // opened only to name files in it
    QByteArray name;          // never a path: "." where the path names a folder itself
    bool throughLink = false; // the path's own last name was a symbolic link
    int error = 0;            // the system's reason where the folder could not be opened
};

// Opens the folder the path lies in and follows symbolic links at the path's last name (at most
// 40) to the name they end at, which need not exist. So a palette that is a link is read and
// saved at its target, and the link stays. Links among the folders on the way are followed by
// the system when each folder is opened.
FolderEntry resolveFolderEntry(const QString &path);
