#include "PaletteFile.h"

#include "FileIdentity.h"
#include "FolderEntry.h"
#include "PackedColour.h"
#include "PaletteFileHooks.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Why the path names no file: nothing there, or a link to nothing.
QString missing(const QString &path, const FolderEntry &at) {
    return at.throughLink
               ? QStringLiteral("%1 is a link to a file that does not exist.").arg(shown(path))
               : QStringLiteral("%1 does not exist.").arg(shown(path));
}

// Why what the path names cannot be opened, from errno.
QString unopenable(const QString &path, const FolderEntry &at) {
    if (errno == ENOENT || errno == ENOTDIR || (errno == ELOOP && at.throughLink))
        return missing(path, at);
    return QStringLiteral("%1 cannot be opened: %2.").arg(shown(path), qt_error_string(errno));
}

// Refuses anything but a regular file.
QString problemWith(const QString &path, const struct stat &status) {
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is a folder, not a palette file.").arg(shown(path));
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("%1 is not a regular file.").arg(shown(path));
    return {};
}

// Appends up to count more bytes from where the file's reading stands; fewer only at its end.
// The buffer grows as the bytes arrive, so a large limit costs nothing for a small file. Returns
// the system's reason on failure.
QString readOn(int fd, QByteArray &bytes, qint64 count) {
    constexpr qint64 chunk = 1 << 20;
    for (qint64 wanted = count; wanted > 0;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + std::min(wanted, chunk));
        const ssize_t got = read(fd, bytes.data() + at, bytes.size() - at);
        bytes.resize(at + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return qt_error_string(errno);
        if (got == 0)
            break;
        wanted -= got;
    }
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

OpenedPaletteFile openPaletteFile(const QString &path) {
    OpenedPaletteFile opened;
    const auto failed = [&](const FolderEntry &at) {
        opened.gone = errno == ENOENT || errno == ENOTDIR || (errno == ELOOP && at.throughLink);
        opened.error = unopenable(path, at);
        return std::move(opened);
    };
    if (path.isEmpty()) {
        opened.error = QStringLiteral("No palette file was chosen.");
        return opened;
    }
    const FolderEntry at = resolveFolderEntry(path);
    if (!at.folder.isOpen()) {
        errno = at.error;
        return failed(at);
    }
    // Looked at before it is opened: opening a device can do something.
    struct stat status {};
    if (fstatat(at.folder.get(), at.name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(at);
    if (opened.error = problemWith(path, status); !opened.error.isEmpty())
        return opened;
    if (afterLoadResolved)
        afterLoadResolved(path);

    // The name can be swapped between looking and opening, so what was opened is looked at
    // again. Not following a link and not waiting keep a link or a named pipe swapped in from
    // leading elsewhere or blocking.
    FileDescriptor file(openat(at.folder.get(), at.name.constData(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen())
        return failed(at);
    if (fstat(file.get(), &status) != 0) {
        opened.error =
            QStringLiteral("%1 cannot be read: %2.").arg(shown(path), qt_error_string(errno));
        return opened;
    }
    if (opened.error = problemWith(path, status); !opened.error.isEmpty())
        return opened;
    opened.file = std::move(file);
    opened.size = status.st_size;
    return opened;
}

QString readPaletteFileOn(const OpenedPaletteFile &opened, const QString &path, QByteArray &bytes,
                          qint64 count) {
    if (const QString reason = readOn(opened.file.get(), bytes, count); !reason.isEmpty())
        return QStringLiteral("%1 cannot be read: %2.").arg(shown(path), reason);
    return {};
}

PaletteFileStart readPaletteStart(const QString &path, qint64 limit) {
    const OpenedPaletteFile opened = openPaletteFile(path);
    PaletteFileStart start{{}, opened.size, opened.error, opened.gone};
    // Only the first bytes count; a longer file is never read whole.
    if (start.error.isEmpty())
        start.error = readPaletteFileOn(opened, path, start.bytes, limit);
    return start;
}

QString loadPalette(const QString &path, Palette &palette, qint64 *fileSize) {
    const PaletteFileStart start = readPaletteStart(path);
    if (!start.error.isEmpty())
        return start.error;
    if (start.bytes.size() < paletteFileSize)
        return QStringLiteral("%1 holds %2 bytes; a palette needs %3.")
            .arg(shown(path))
            .arg(start.bytes.size())
            .arg(paletteFileSize);
    setPaletteFromBytes(palette, start.bytes);
    if (fileSize)
        *fileSize = start.size;
    return {};
}

namespace {

QString saveFailure(const QString &path, const QString &reason) {
    return QStringLiteral("%1 cannot be saved: %2.").arg(shown(path), reason);
}

QString replacedWhileSaving(const QString &path) {
    return QStringLiteral("%1 was replaced by another file while saving; nothing was written.")
        .arg(shown(path));
}

// Whether the name still refers to the file that was checked (with none checked: to nothing).
bool stillThere(const FolderEntry &at, const struct stat *old) {
    struct stat now {};
    if (fstatat(at.folder.get(), at.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return !old && errno == ENOENT;
    return old && now.st_dev == old->st_dev && now.st_ino == old->st_ino;
}

// A new file can take the old one's place without anyone noticing only if the folder lets this
// user rename into it, the old file has no second name that would keep the old colours, and the
// new file can be given the old one's owner (this user's own file, or root, who may give it
// away).
bool mayReplaceWhole(int folder, const struct stat &old) {
    const uid_t user = geteuid();
    if (old.st_nlink != 1 || (user != 0 && user != old.st_uid))
        return false;
    return faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

// Writes all the bytes from the start of the file. Returns the system's reason on failure.
QString writeStart(int fd, const QByteArray &bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return qt_error_string(written < 0 ? errno : EIO);
        done += written;
    }
    return {};
}

// The palette's name with six random letters or digits added.
QByteArray temporaryName(const QByteArray &name) {
    static constexpr char characters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray temporary = name + '.';
    for (int i = 0; i < 6; ++i)
        temporary += characters[QRandomGenerator::global()->bounded(int(sizeof characters) - 1)];
    return temporary;
}

// The new file that is to take the palette's place, in the palette's own folder. Where the file
// system can make unnamed files it has no name until its content is complete, so a save cut
// short by a kill or a crash before that leaves nothing behind; otherwise it has a temporary
// name from the start. A temporary name that never took the palette's place is removed.
class NewFile {
public:
    // mode: what the file is made with; the user's umask applies.
    NewFile(const FolderEntry &at, mode_t mode) : m_at(at) {
        // Naming an unnamed file goes through /proc.
        static const bool unnamedCanBeNamed = access("/proc/self/fd", X_OK) == 0;
        if (unnamedCanBeNamed)
            m_fd = FileDescriptor(openat(folder(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        for (int tries = 0; !m_fd.isOpen() && tries < 100; ++tries) {
            m_name = temporaryName(at.name);
            m_fd =
                FileDescriptor(openat(folder(), m_name.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!m_fd.isOpen() && errno != EEXIST)
                break;
        }
        if (!m_fd.isOpen())
            m_name.clear();
    }
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile() {
        if (!m_name.isEmpty())
            unlinkat(folder(), m_name.constData(), 0);
    }

    int fd() const { return m_fd.get(); }
    bool isOpen() const { return m_fd.isOpen(); }

    // Gives an unnamed file a temporary name beside the palette; false with errno on failure.
    bool name() {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd());
        for (int tries = 0; m_name.isEmpty() && tries < 100; ++tries) {
            const QByteArray name = temporaryName(m_at.name);
            if (linkat(AT_FDCWD, self.constData(), folder(), name.constData(), AT_SYMLINK_FOLLOW) ==
                0)
                m_name = name;
            else if (errno != EEXIST)
                return false;
        }
        return !m_name.isEmpty();
    }

    // Renames the file over the palette; false with errno on failure.
    bool replace() {
        if (renameat(folder(), m_name.constData(), folder(), m_at.name.constData()) != 0)
            return false;
        m_name.clear();
        return true;
    }

private:
    int folder() const { return m_at.folder.get(); }

    const FolderEntry &m_at;
    FileDescriptor m_fd;
    QByteArray m_name;
};

enum class Replacement { done, failed, notPossible, replacedMeanwhile };

// Writes the bytes to a new file beside the old one and renames it over the old one, so the old
// file stays whole until the new one is complete. With old (open as oldFd) set, the new file gets
// its owner, group, mode and extended attributes first; where any of that or the rename is
// refused, the old file is left untouched and the result is notPossible. Otherwise a failure
// leaves the reason in error.
Replacement replaceWhole(const FolderEntry &at, const QByteArray &bytes, const struct stat *old,
                         int oldFd, QString &error) {
    // A file made anew gets the mode any new file of this user's gets; one that takes an old
    // file's place is for the user's eyes only until it has the old one's mode.
    NewFile file(at, old ? S_IRUSR | S_IWUSR : 0666);
    if (!file.isOpen()) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (old && !copyFileIdentity(oldFd, *old, file.fd()))
        return Replacement::notPossible;
    // The sync makes sure the content is on the disk before the name is: a crash must not leave
    // the palette's name on an empty file.
    if (error = writeStart(file.fd(), bytes); !error.isEmpty())
        return Replacement::failed;
    if (fsync(file.fd()) != 0) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (!stillThere(at, old))
        return Replacement::replacedMeanwhile;
    // Between that check and the rename whoever may write the folder can still put something
    // else under the name. The rename then replaces that entry itself and never writes through
    // it: no other file's content is touched, only the entry put there is lost. The temporary
    // name is given only now, so that a kill leaves it behind as seldom as can be.
    if (!file.name()) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (!file.replace()) {
        // A refused rename (a sticky folder, a file that is a mount point) leaves the old file
        // as it was.
        if (old)
            return Replacement::notPossible;
        error = qt_error_string(errno);
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
    if (QString reason = writeStart(fd, bytes); !reason.isEmpty())
        return reason;
    if (fdatasync(fd) != 0 || ftruncate(fd, paletteFileSize) != 0 || fdatasync(fd) != 0)
        return qt_error_string(errno);
    return {};
}

} // namespace

QString savePalette(const QString &path, const Palette &palette) {
    if (path.isEmpty())
        return QStringLiteral("No palette file was chosen.");
    const QByteArray bytes = paletteBytes(palette);

    // The path is resolved once; from here on only the folder's descriptor and the name in it
    // are used, and the file is checked through the descriptor that writes it.
    const FolderEntry at = resolveFolderEntry(path);
    if (!at.folder.isOpen())
        return saveFailure(path, qt_error_string(at.error));
    // Opening the file for writing, without truncating it, asks the system whether this user
    // may write it; permissions are never changed to get around a refusal. A named pipe does
    // not block the open, and a link put under the name since it was resolved is not followed.
    const FileDescriptor file(openat(at.folder.get(), at.name.constData(),
                                     O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen() && errno == ELOOP)
        return replacedWhileSaving(path);
    // Where the file has gone since it was loaded, it is made anew.
    if (!file.isOpen() && errno != ENOENT)
        return saveFailure(path, qt_error_string(errno));
    struct stat old {};
    if (file.isOpen() && fstat(file.get(), &old) != 0)
        return saveFailure(path, qt_error_string(errno));
    if (file.isOpen() && !S_ISREG(old.st_mode))
        return QStringLiteral("%1 is not a regular file.").arg(shown(path));
    if (afterSaveChecked)
        afterSaveChecked(path);

    QString error;
    if (!file.isOpen() || mayReplaceWhole(at.folder.get(), old)) {
        switch (replaceWhole(at, bytes, file.isOpen() ? &old : nullptr, file.get(), error)) {
        case Replacement::done:
            return {};
        case Replacement::failed:
            return saveFailure(path, error);
        case Replacement::replacedMeanwhile:
            return replacedWhileSaving(path);
        case Replacement::notPossible:
            break;
        }
    }
    // Writing goes through the descriptor that was checked, whatever the name holds by then; the
    // check only keeps the message honest.
    if (!stillThere(at, &old))
        return replacedWhileSaving(path);
    if (const QString reason = overwriteInPlace(file.get(), bytes); !reason.isEmpty())
        return saveFailure(path, reason);
    return {};
}
