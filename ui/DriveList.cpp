#include "DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
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

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent) {
    for (const QString &root : driveRoots())
        addItem(QDir::toNativeSeparators(root), root);
    showDriveOf(QDir::currentPath());
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(drive()); });
}

QString DriveList::drive() const { return currentData().toString(); }

void DriveList::showDriveOf(const QString &path) {
    QString root = QStorageInfo(path).rootPath();
    if (root.isEmpty())
        root = QDir::rootPath();
    const QSignalBlocker blocker(this);
    int index = findData(root);
    if (index < 0) {
        addItem(QDir::toNativeSeparators(root), root);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
