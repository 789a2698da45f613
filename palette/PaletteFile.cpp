#include "PaletteFile.h"

#include "FileReplacement.h"
#include "FolderEntry.h"
#include "PackedColour.h"
#include "PaletteFileHooks.h"

#include <QDir>

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

// The new palette is on the disk under its name, but the folder that names it is not.
QString unsyncedFolder(const QString &path, const QString &reason) {
    return QStringLiteral("%1 was saved, but its folder could not be synced: %2. The change is "
                          "on the disk but may not survive a power cut.")
        .arg(shown(path), reason);
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

QString savePalette(const QString &path, const Palette &palette, bool *written) {
    if (written)
        *written = false;
    if (path.isEmpty())
        return QStringLiteral("No palette file was chosen.");
    const QByteArray bytes = paletteBytes(palette);
    const WriteTarget target = openWriteTarget(path);
    switch (target.problem) {
    case WriteTarget::none:
        break;
    case WriteTarget::refused:
        return saveFailure(path, qt_error_string(target.error));
    case WriteTarget::linkSwappedIn:
        return replacedWhileSaving(path);
    case WriteTarget::notRegular:
        return QStringLiteral("%1 is not a regular file.").arg(shown(path));
    }
    const FolderEntry &at = target.at;
    const FileDescriptor &file = target.file;
    if (afterSaveChecked)
        afterSaveChecked(path);

    QString error;
    if (!file.isOpen() || whyNotReplaceable(at.folder.get(), target.old).isEmpty()) {
        switch (replaceWhole(at, bytes, file.isOpen() ? &target.old : nullptr, file.get(), error)) {
        case Replacement::done:
            if (written)
                *written = true;
            return {};
        case Replacement::unsynced:
            if (written)
                *written = true;
            return unsyncedFolder(path, error);
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
    if (!stillThere(at, &target.old))
        return replacedWhileSaving(path);
    if (const QString reason = overwriteInPlace(file.get(), bytes); !reason.isEmpty())
        return saveFailure(path, reason);
    if (written)
        *written = true;
    return {};
}
