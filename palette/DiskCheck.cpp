#include "DiskCheck.h"

#include "PaletteFile.h"

DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size) {
    const PaletteFileStart now = readPaletteStart(path);
    if (now.gone)
        return DiskCheck::removed;
    if (!now.error.isEmpty())
        return DiskCheck::unreadable;
    return now.size == size && now.bytes == bytes ? DiskCheck::unchanged : DiskCheck::changed;
}
