#include "FolderEntry.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <tuple>
#include <utility>

namespace {

constexpr int maxLinks = 40; // as many as the system itself follows in one path

// "a/b/c" gives "a/b" and "c", "c" gives "." and "c", "/c" gives "/" and "c", "a/" gives "a"
// and ".".
std::pair<QByteArray, QByteArray> splitPath(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), path};
    const QByteArray name = path.mid(slash + 1);
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash),
            name.isEmpty() ? QByteArrayLiteral(".") : name};
}

FileDescriptor openFolder(int at, const QByteArray &folder) {
    // An absolute folder ignores at.
    return FileDescriptor(openat(at, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

FolderEntry resolveFolderEntry(const QString &path) {
    FolderEntry entry;
    auto [folder, name] = splitPath(QFile::encodeName(path));
    for (int links = 0;; ++links) {
        FileDescriptor opened =
            openFolder(entry.folder.isOpen() ? entry.folder.get() : AT_FDCWD, folder);
        if (!opened.isOpen()) {
            entry.error = errno;
            entry.folder = FileDescriptor();
            return entry;
        }
        entry.folder = std::move(opened);
        entry.name = name;
        char target[PATH_MAX];
        const ssize_t size =
            readlinkat(entry.folder.get(), entry.name.constData(), target, sizeof target);
        // Not a link, or nothing there: the name is the one to work with. Any other problem
        // shows, with its own reason, when the name is opened.
        if (size < 0)
            return entry;
        if (links == maxLinks || size == sizeof target) {
            entry.error = links == maxLinks ? ELOOP : ENAMETOOLONG;
            entry.folder = FileDescriptor();
            return entry;
        }
        entry.throughLink = true;
        std::tie(folder, name) = splitPath(QByteArray(target, size));
    }
}
