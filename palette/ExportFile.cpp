#include "ExportFile.h"

#include "FileReplacement.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

QString notExported(const QString &path, const QString &reason) {
    return QStringLiteral("%1 cannot be written: %2; nothing was written.")
        .arg(shown(path), reason);
}

// Whether the file the target names is the open palette, under whichever name or link.
bool isOpenPalette(const WriteTarget &target, const QString &openPalette) {
    struct stat open {};
    struct stat there {};
    if (openPalette.isEmpty() || stat(QFile::encodeName(openPalette).constData(), &open) != 0)
        return false;
    if (target.file.isOpen())
        there = target.old;
    else if (fstatat(target.at.folder.get(), target.at.name.constData(), &there, 0) != 0)
        return false;
    return there.st_dev == open.st_dev && there.st_ino == open.st_ino;
}

} // namespace

QString exportFile(const QString &path, const QByteArray &bytes, const QString &openPalette) {
    if (path.isEmpty())
        return QStringLiteral("No file was chosen to export to.");
    const WriteTarget target = openWriteTarget(path);
    // Checked before any other refusal: a read-only open palette must still point to Save.
    if (isOpenPalette(target, openPalette))
        return QStringLiteral("%1 is the palette open in the editor: use Save to write it.")
            .arg(shown(path));
    switch (target.problem) {
    case WriteTarget::none:
        break;
    case WriteTarget::refused:
        return notExported(path, qt_error_string(target.error));
    case WriteTarget::linkSwappedIn:
        return notExported(path, QStringLiteral("another file took its name while writing"));
    case WriteTarget::notRegular:
        return notExported(path, QStringLiteral("it is not a regular file"));
    }
    const struct stat *old = target.file.isOpen() ? &target.old : nullptr;
    // An export never writes into an existing file where it stands: a failure there would leave
    // neither the old content nor the new.
    if (old)
        if (const QString why = whyNotReplaceable(target.at.folder.get(), *old); !why.isEmpty())
            return notExported(path, why);
    QString error;
    // Unlike Save, which must keep the user's edits somewhere, an export that could not be made
    // to last is better not written at all.
    switch (replaceWhole(target.at, bytes, old, target.file.get(), error, true)) {
    case Replacement::done:
        return {};
    case Replacement::unsynced:
        return QStringLiteral("%1 was written, but its folder could not be synced: %2. The file "
                              "may not survive a power cut.")
            .arg(shown(path), error);
    case Replacement::failed:
    case Replacement::notPossible:
        return notExported(path, error);
    case Replacement::replacedMeanwhile:
        return notExported(path, QStringLiteral("another file took its name while writing"));
    }
    return {};
}
