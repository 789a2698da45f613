#include "MountTable.h"

#include <QFile>

namespace {

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

} // namespace

QStringList userMountPoints(const QByteArray &mountInfo) {
    QStringList roots;
    for (const QByteArray &line : mountInfo.split('\n')) {
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

QStringList mountPoints() {
    // Read from the kernel's table alone: asking each file system (as QStorageInfo does) waits
    // forever on a network share whose server is gone.
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return userMountPoints(table.readAll());
}
