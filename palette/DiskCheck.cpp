#include "DiskCheck.h"

#include "PaletteFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file at path, opened for reading without blocking and without becoming a controlling
// terminal; closed when it goes out of scope.
struct ReadOnlyFile {
    explicit ReadOnlyFile(const QString &path)
        : fd(open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)),
          openError(fd < 0 ? errno : 0) {}
    ~ReadOnlyFile() {
        if (fd >= 0)
            close(fd);
    }
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // The size of what was opened, or -1 unless it is a regular file.
    qint64 regularSize() const {
        struct stat info {};
        return fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
    }

    const int fd;
    const int openError;
};

// Reads up to count bytes from the start; fewer when the file ends first. False on a read error.
bool readStart(int fd, QByteArray &bytes, qint64 count) {
    bytes.resize(count);
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, bytes.data() + done, count - done, done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return true;
}

} // namespace

DiskCheck checkDisk(const QString &path, const QByteArray &bytes, qint64 size) {
    const ReadOnlyFile file(path);
    // A dangling link or a missing folder on the way counts as gone as well.
    if (file.openError == ENOENT || file.openError == ENOTDIR)
        return DiskCheck::removed;
    const qint64 now = file.regularSize();
    if (now < 0)
        return DiskCheck::unreadable;
    if (size >= 0 && now != size)
        return DiskCheck::changed;
    QByteArray start;
    if (!readStart(file.fd, start, paletteFileSize))
        return DiskCheck::unreadable;
    return start == bytes ? DiskCheck::unchanged : DiskCheck::changed;
}

qint64 diskFileSize(const QString &path) { return ReadOnlyFile(path).regularSize(); }
