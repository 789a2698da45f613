#include "PaletteFile.h"

#include "PackedColour.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

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

QString savePalette(const QString &path, const Palette &palette) {
    if (path.isEmpty())
        return QStringLiteral("No palette file was chosen.");
    QSaveFile file(path);
    const auto failure = [&path](const QString &reason) {
        return QStringLiteral("%1 cannot be saved: %2.").arg(shown(path), reason);
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    const QByteArray bytes = paletteBytes(palette);
    // Writes are buffered, and commit() renames even when the final flush fails (a full disk
    // would then replace the old file with a cut-short one), so the flush is checked first.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // A failed flush leaves only "Unknown error" in the file's error string, and cancelling
        // replaces even that: the system's reason is taken from errno first.
        const QString reason = errno != 0 ? qt_error_string(errno) : file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return {};
}
