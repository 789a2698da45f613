#include "DiskCheck.h"

#include "PaletteFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size) {
    // Without blocking on a named pipe put in its place, or taking a terminal as its own.
    const int fd =
        open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    // A dangling link or a folder gone on the way counts as removed as well.
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? DiskCheck::removed : DiskCheck::unreadable;
    QFile file;
    file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return DiskCheck::unreadable;
    if (info.st_size != size)
        return DiskCheck::changed;
    const QByteArray start = file.read(paletteFileSize);
    if (file.error() != QFileDevice::NoError)
        return DiskCheck::unreadable;
    return start == bytes ? DiskCheck::unchanged : DiskCheck::changed;
}
