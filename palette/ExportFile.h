#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to path only whole: a new file in the same folder takes the name once its content
// is complete and synced, with an existing file's owner, group, mode, ACL and extended
// attributes, and the folder is synced after the rename. Where that cannot be done (a folder this
// user may not write, another user's file, a second hard link, an attribute that cannot be
// copied), nothing is written and the error says why. A path that leads to the same file as
// `openPalette` (same device and inode, through a link too) is refused with a word pointing to
// Save. Returns an empty string on success, else an error text naming the file and the reason.
QString exportFile(const QString &path, const QByteArray &bytes, const QString &openPalette);
