#include "PaletteFile.h"

#include "PackedColour.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Refuses anything but a regular file before it is opened: opening a named pipe would block.
QString problemBeforeOpening(const QString &path) {
    if (path.isEmpty())
        return QStringLiteral("No palette file was chosen.");
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("%1 is a link to a file that does not exist.").arg(shown(path));
    if (!info.exists())
        return QStringLiteral("%1 does not exist.").arg(shown(path));
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a palette file.").arg(shown(path));
    if (!info.isFile())
        return QStringLiteral("%1 is not a regular file.").arg(shown(path));
    if (info.size() < paletteFileSize)
        return QStringLiteral("%1 holds %2 bytes; a palette needs %3.")
            .arg(shown(path))
            .arg(info.size())
            .arg(paletteFileSize);
    return {};
}

} // namespace

QByteArray paletteBytes(const Palette &palette) {
    QByteArray bytes(paletteFileSize, '\0');
    for (int n = firstEntry; n <= lastEntry; ++n)
        for (int c = redChannel; c <= blueChannel; ++c)
            bytes[3 * (n - 1) + (c - 1)] = static_cast<char>(static_cast<quint8>(palette[n][c]));
    return bytes;
}

void setPaletteFromBytes(Palette &palette, const QByteArray &bytes) {
    for (int n = firstEntry; n <= lastEntry; ++n) {
        auto &row = palette[n];
        for (int c = redChannel; c <= blueChannel; ++c)
            row[c] = static_cast<quint8>(bytes[3 * (n - 1) + (c - 1)]);
        row[packedChannel] = packedColour(row[redChannel], row[greenChannel], row[blueChannel]);
    }
}

QString loadPalette(const QString &path, Palette &palette) {
    if (QString problem = problemBeforeOpening(path); !problem.isEmpty())
        return problem;

    QFile file(path);
    // Unbuffered, so exactly the 768 bytes are read and no more.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("%1 cannot be opened: %2.").arg(shown(path), file.errorString());
    // Only the first 768 bytes count; a longer file is never read whole.
    const QByteArray bytes = file.read(paletteFileSize);
    if (bytes.size() < paletteFileSize) {
        if (file.error() != QFileDevice::NoError)
            return QStringLiteral("%1 cannot be read: %2.").arg(shown(path), file.errorString());
        return QStringLiteral("%1 holds %2 bytes; a palette needs %3.")
            .arg(shown(path))
            .arg(bytes.size())
            .arg(paletteFileSize);
    }
    setPaletteFromBytes(palette, bytes);
    return {};
}

namespace {

QString saveFailure(const QString &path, const QString &reason) {
    return QStringLiteral("%1 cannot be saved: %2.").arg(shown(path), reason);
}

// Closes the palette file when saving ends, whichever way it ends.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0)
            close(fd);
    }
};

// A new file can take the old one's place without anyone noticing only if the folder lets this
// user rename into it, the old file has no second name that would keep the old colours, and the
// new file can be given the old one's owner (this user's own file, or root, who may give it
// away).
bool mayReplaceWhole(const QString &path, const struct stat &old) {
    const uid_t user = geteuid();
    if (old.st_nlink != 1 || (user != 0 && user != old.st_uid))
        return false;
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    return faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

enum class Replacement { done, failed, notPossible };

// Writes the bytes to a new file beside the old one and renames it over the old one, so the old
// file stays whole until the new one is complete. With old set, the new file gets its owner,
// group and mode first; where that or the rename is refused, the old file is left untouched and
// the result is notPossible. Otherwise a failure leaves the reason in error.
Replacement replaceWhole(const QString &path, const QByteArray &bytes, const struct stat *old,
                         QString &error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return Replacement::failed;
    }
    // The new file starts as this user's; a file that root saves for someone else must stay theirs.
    if (old && (fchown(file.handle(), old->st_uid, old->st_gid) != 0 ||
                fchmod(file.handle(), old->st_mode & 07777) != 0))
        return Replacement::notPossible;
    // Writes are buffered, and commit() renames even when the final flush fails (a full disk
    // would then replace the old file with a cut-short one), so the flush is checked first.
    // commit() also ignores a failed sync, so that is done and checked here as well.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() || fdatasync(file.handle()) != 0) {
        // A failed flush leaves only "Unknown error" in the file's error string, and cancelling
        // replaces even that: the system's reason is taken from errno first.
        error = errno != 0 ? qt_error_string(errno) : file.errorString();
        file.cancelWriting();
        return Replacement::failed;
    }
    if (!file.commit()) {
        // A refused rename (a sticky folder, a file that is a mount point) leaves the old file
        // as it was and QSaveFile removes the new one.
        if (old && file.error() == QFileDevice::RenameError)
            return Replacement::notPossible;
        error = file.errorString();
        return Replacement::failed;
    }
    return Replacement::done;
}

// Overwrites the file where it stands, so it keeps its owner, group, mode, links and inode. The
// 768 new bytes go over the first 768 old ones and reach the disk before a longer file is cut to
// 768 bytes: at no moment is the file shorter than 768 bytes or empty. A crash or failure on the
// way can leave a mix of old and new entries, never a short file. Returns the system's reason on
// failure.
QString overwriteInPlace(int fd, const QByteArray &bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return qt_error_string(written < 0 ? errno : EIO);
        done += written;
    }
    if (fdatasync(fd) != 0 || ftruncate(fd, paletteFileSize) != 0 || fdatasync(fd) != 0)
        return qt_error_string(errno);
    return {};
}

} // namespace

QString savePalette(const QString &path, const Palette &palette) {
    if (path.isEmpty())
        return QStringLiteral("No palette file was chosen.");
    const QByteArray bytes = paletteBytes(palette);
    QString error;

    // Opening the file for writing, without truncating it, asks the system whether this user
    // may write it; permissions are never changed to get around a refusal. A named pipe does
    // not block the open.
    const OpenFile file{
        open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) {
        if (errno != ENOENT)
            return saveFailure(path, qt_error_string(errno));
        // The file has gone since it was loaded: it is made anew.
        return replaceWhole(path, bytes, nullptr, error) == Replacement::done
                   ? QString()
                   : saveFailure(path, error);
    }
    struct stat old {};
    if (fstat(file.fd, &old) != 0)
        return saveFailure(path, qt_error_string(errno));
    if (!S_ISREG(old.st_mode))
        return QStringLiteral("%1 is not a regular file.").arg(shown(path));

    if (mayReplaceWhole(path, old)) {
        switch (replaceWhole(path, bytes, &old, error)) {
        case Replacement::done:
            return {};
        case Replacement::failed:
            return saveFailure(path, error);
        case Replacement::notPossible:
            break;
        }
    }
    if (const QString reason = overwriteInPlace(file.fd, bytes); !reason.isEmpty())
        return saveFailure(path, reason);
    return {};
}
