#include "DriveList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

#ifdef Q_OS_LINUX
// Mount points are written with spaces, tabs, newlines and backslashes as "\ooo".
QByteArray unescapeMountPoint(const QByteArray &field) {
    QByteArray path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path += char(code);
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

// File systems of the kernel and the desktop's plumbing, never a place for the user's files.
bool isSystemMount(const QString &root, const QByteArray &type) {
    static const QByteArrayList systemTypes = {
        "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "proc",     "pstore",   "rootfs",  "rpc_pipefs",
        "securityfs", "selinuxfs",   "sysfs",    "tracefs"};
    if (systemTypes.contains(type))
        return true;
    const auto under = [&root](const char *folder) {
        const QString top = QLatin1String(folder);
        return root == top || root.startsWith(top + QLatin1Char('/'));
    };
    // /run holds the system's sockets and the session's own mounts, but removable media too.
    // Containers mount single files over /etc (hosts, resolv.conf), which cannot be browsed.
    if (under("/run/media"))
        return false;
    return under("/dev") || under("/proc") || under("/sys") || under("/run") || under("/var/run") ||
           under("/var/lock") || under("/snap") || under("/etc");
}

// Read from the kernel's table alone: asking each file system (as QStorageInfo does) waits
// forever on a network share whose server is gone.
QStringList mountPoints() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QStringList roots;
    for (const QByteArray &line : table.readAll().split('\n')) {
        // id, parent, device, root, mount point, options, optional fields, "-", type, ...
        const QByteArrayList fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (dash < 5 || dash + 1 >= fields.size())
            continue;
        const QString root = QFile::decodeName(unescapeMountPoint(fields[4]));
        if (!isSystemMount(root, fields[dash + 1]))
            roots << root;
    }
    return roots;
}
#endif

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
