#pragma once

#include <QByteArray>
#include <QString>

// What became of the palette file since the editor last loaded or saved it.
enum class DiskCheck {
    unchanged, // same size and same first 768 bytes; a changed time alone does not count
    changed,   // another size, or other bytes among the first 768
    removed,   // the name no longer leads to a file
    unreadable // it cannot be looked at (no access, not a regular file, a read error)
};

// Compares the file at path with the first 768 bytes and the size it had when last loaded or
// saved, read as loading reads it.
DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size);
