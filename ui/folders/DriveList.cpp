#include "DriveList.h"

#include "MountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QStringList driveRoots() {
    QStringList roots;
#ifdef Q_OS_WIN
    // Drive letters come from a bit mask; no drive is asked anything.
    for (const QFileInfo &drive : QDir::drives())
        roots << drive.absoluteFilePath();
#else
    // The file system root is always there, even where it is no mount of its own (a chroot).
    roots << QDir::rootPath();
#ifdef Q_OS_LINUX
    roots << mountPoints();
#else
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        roots << volume.rootPath();
#endif
#endif
    roots.sort();
    roots.removeDuplicates();
    return roots;
}

// Whether folder lies on the drive whose root is root (or is that root).
bool holds(const QString &root, const QString &folder) {
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    if (folder.compare(root, sensitivity) == 0)
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix, sensitivity);
}

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent) {
    for (const QString &root : driveRoots())
        addItem(QDir::toNativeSeparators(root), root);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_following)
            emit driveChanged(drive());
    });
}

QString DriveList::drive() const { return currentData().toString(); }

void DriveList::follow(const QString &folder) {
    int deepest = -1;
    qsizetype deepestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (root.size() > deepestLength && holds(root, folder)) {
            deepest = i;
            deepestLength = root.size();
        }
    }
    if (deepest < 0)
        return;
    m_following = true;
    setCurrentIndex(deepest);
    m_following = false;
}
