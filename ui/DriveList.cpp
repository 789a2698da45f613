#include "DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QStringList driveRoots() {
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots << drive.absoluteFilePath();
#else
    // The file system root is always there, even where it is no mount of its own (a chroot).
    roots << QDir::rootPath();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files too; only folders can be browsed.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    }
#endif
    roots.sort();
    roots.removeDuplicates();
    return roots;
}

// The root of the drive that holds path; the file system root where that cannot be told.
QString driveOf(const QString &path) {
    const QString root = QStorageInfo(path).rootPath();
    return root.isEmpty() ? QDir::rootPath() : root;
}

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent) {
    for (const QString &root : driveRoots())
        addItem(QDir::toNativeSeparators(root), root);
    // Start on the drive of the current folder, before anyone listens for changes.
    const QString start = driveOf(QDir::currentPath());
    if (findData(start) < 0)
        addItem(QDir::toNativeSeparators(start), start);
    setCurrentIndex(findData(start));
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(drive()); });
}

QString DriveList::drive() const { return currentData().toString(); }
