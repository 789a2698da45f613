#include "FileIdentity.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <optional>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Asks for the size first, then reads; tries again where the text grew in between.
template <typename Read> std::optional<QByteArray> readGrowing(Read read) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray text(size, '\0');
        const ssize_t got = read(text.data(), text.size());
        if (got >= 0)
            return text.left(got);
        if (errno != ERANGE)
            return std::nullopt;
    }
}

// The names of the file's extended attributes that this user may see (trusted.* ones show only
// to root); none on a file system that keeps none.
std::optional<QList<QByteArray>> attributeNames(int fd) {
    const std::optional<QByteArray> list =
        readGrowing([fd](char *into, size_t size) { return flistxattr(fd, into, size); });
    if (!list)
        return errno == ENOTSUP ? std::optional(QList<QByteArray>()) : std::nullopt;
    QList<QByteArray> names = list->split('\0');
    names.removeAll(QByteArray());
    return names;
}

} // namespace

bool copyFileIdentity(int from, const struct stat &old, int to) {
    // A new file starts as this user's; a file that root saves for someone else must stay theirs.
    if (fchown(to, old.st_uid, old.st_gid) != 0)
        return false;
    const std::optional<QList<QByteArray>> names = attributeNames(from);
    const std::optional<QList<QByteArray>> given = attributeNames(to);
    if (!names || !given)
        return false;
    for (const QByteArray &name : *given)
        if (!names->contains(name) && fremovexattr(to, name.constData()) != 0)
            return false;
    // The mode before the ACL: setting the mode afterwards would rewrite the ACL's mask.
    if (fchmod(to, old.st_mode & 07777) != 0)
        return false;
    for (const QByteArray &name : *names) {
        const std::optional<QByteArray> value = readGrowing(
            [&](char *into, size_t size) { return fgetxattr(from, name.constData(), into, size); });
        if (!value || fsetxattr(to, name.constData(), value->constData(), value->size(), 0) != 0)
            return false;
    }
    return true;
}
