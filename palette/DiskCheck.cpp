#include "DiskCheck.h"

#include "PaletteFile.h"

DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size) {
    return checkDisk(readPaletteStart(path), bytes, size);
}

DiskCheck checkDisk(const PaletteFileStart &now, const QByteArray &bytes, qint64 size) {
    if (now.gone)
        return DiskCheck::removed;
    if (!now.error.isEmpty())
        return DiskCheck::unreadable;
    return now.size == size && now.bytes == bytes ? DiskCheck::unchanged : DiskCheck::changed;
}

bool sameStart(const PaletteFileStart &a, const PaletteFileStart &b) {
    return a.gone == b.gone && a.error == b.error && a.size == b.size && a.bytes == b.bytes;
}
