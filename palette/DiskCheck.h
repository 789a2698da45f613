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

struct PaletteFileStart;

// Compares the file at path with the first 768 bytes and the size it had when last loaded or
// saved, read as loading reads it.
DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size);

// The same comparison with a start of the file already read.
DiskCheck checkDisk(const PaletteFileStart &now, const QByteArray &bytes, qint64 size);

// Whether two reads of the file's start found the same: the same bytes and size, or the same
// reason it could not be read.
bool sameStart(const PaletteFileStart &a, const PaletteFileStart &b);
