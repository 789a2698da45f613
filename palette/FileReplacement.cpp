#include "FileReplacement.h"

#include "FileIdentity.h"
#include "PaletteFileHooks.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// Makes one of the calls that make the new file last, unless a test's hook answers for it.
// False with errno on failure.
template <typename Call> bool durably(DurableStep step, int fd, Call call) {
    if (beforeDurableStep)
        if (const int error = beforeDurableStep(step, fd)) {
            errno = error;
            return false;
        }
    return call() == 0;
}

// The palette's name with six random letters or digits added.
QByteArray temporaryName(const QByteArray &name) {
    static constexpr char characters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray temporary = name + '.';
    for (int i = 0; i < 6; ++i)
        temporary += characters[QRandomGenerator::global()->bounded(int(sizeof characters) - 1)];
    return temporary;
}

// The new file that is to take the palette's place, in the palette's own folder. Where the file
// system can make unnamed files it has no name until its content is complete, so a save cut
// short by a kill or a crash before that leaves nothing behind; otherwise it has a temporary
// name from the start. A temporary name that never took the palette's place is removed.
class NewFile {
public:
    // mode: what the file is made with; the user's umask applies.
    NewFile(const FolderEntry &at, mode_t mode) : m_at(at) {
        // Naming an unnamed file goes through /proc.
        static const bool unnamedCanBeNamed = access("/proc/self/fd", X_OK) == 0;
        if (unnamedCanBeNamed)
            m_fd = FileDescriptor(openat(folder(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        for (int tries = 0; !m_fd.isOpen() && tries < 100; ++tries) {
            m_name = temporaryName(at.name);
            m_fd =
                FileDescriptor(openat(folder(), m_name.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!m_fd.isOpen() && errno != EEXIST)
                break;
        }
        if (!m_fd.isOpen())
            m_name.clear();
    }
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile() {
        if (!m_name.isEmpty())
            unlinkat(folder(), m_name.constData(), 0);
    }

    int fd() const { return m_fd.get(); }
    bool isOpen() const { return m_fd.isOpen(); }

    // Gives an unnamed file a temporary name beside the palette; false with errno on failure.
    bool name() {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd());
        for (int tries = 0; m_name.isEmpty() && tries < 100; ++tries) {
            const QByteArray name = temporaryName(m_at.name);
            if (linkat(AT_FDCWD, self.constData(), folder(), name.constData(), AT_SYMLINK_FOLLOW) ==
                0)
                m_name = name;
            else if (errno != EEXIST)
                return false;
        }
        return !m_name.isEmpty();
    }

    // Renames the file over the palette; false with errno on failure.
    bool replace() {
        if (!durably(DurableStep::rename, folder(), [this] {
                return renameat(folder(), m_name.constData(), folder(), m_at.name.constData());
            }))
            return false;
        m_name.clear();
        return true;
    }

private:
    int folder() const { return m_at.folder.get(); }

    const FolderEntry &m_at;
    FileDescriptor m_fd;
    QByteArray m_name;
};

} // namespace

WriteTarget openWriteTarget(const QString &path) {
    WriteTarget target;
    target.at = resolveFolderEntry(path);
    const auto refused = [&](int error) {
        target.problem = WriteTarget::refused;
        target.error = error;
        target.file = FileDescriptor();
        return std::move(target);
    };
    if (!target.at.folder.isOpen())
        return refused(target.at.error);
    // Opening the file for writing, without truncating it, asks the system whether this user
    // may write it; permissions are never changed to get around a refusal. A named pipe does
    // not block the open, and a link put under the name since it was resolved is not followed.
    target.file = FileDescriptor(openat(target.at.folder.get(), target.at.name.constData(),
                                        O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!target.file.isOpen() && errno == ELOOP)
        target.problem = WriteTarget::linkSwappedIn;
    else if (!target.file.isOpen() && errno != ENOENT) // none there: it is made anew
        return refused(errno);
    else if (target.file.isOpen() && fstat(target.file.get(), &target.old) != 0)
        return refused(errno);
    else if (target.file.isOpen() && !S_ISREG(target.old.st_mode))
        target.problem = WriteTarget::notRegular;
    return target;
}

QString writeStart(int fd, const QByteArray &bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return qt_error_string(written < 0 ? errno : EIO);
        done += written;
    }
    return {};
}

bool stillThere(const FolderEntry &at, const struct stat *old) {
    struct stat now {};
    if (fstatat(at.folder.get(), at.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return !old && errno == ENOENT;
    return old && now.st_dev == old->st_dev && now.st_ino == old->st_ino;
}

QString whyNotReplaceable(int folder, const struct stat &old) {
    const uid_t user = geteuid();
    if (old.st_nlink != 1)
        return QStringLiteral("it has a second name (a hard link) that would keep the old content");
    if (user != 0 && user != old.st_uid)
        return QStringLiteral("it belongs to another user");
    if (faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return QStringLiteral("its folder may not be changed (%1)").arg(qt_error_string(errno));
    return {};
}

Replacement replaceWhole(const FolderEntry &at, const QByteArray &bytes, const struct stat *old,
                         int oldFd, QString &error, bool mustLast) {
    // The descriptor the folder is known by only names files; syncing needs the folder opened
    // for reading, through that descriptor, as opening its path again could reach another one.
    // Where this user may write the folder but not read it, that is known before anything is
    // written.
    const FileDescriptor folder(openat(at.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const QString unreadable = folder.isOpen() ? QString() : qt_error_string(errno);
    if ((old || mustLast) && !folder.isOpen()) {
        error = QStringLiteral("its folder cannot be read, so a new name in it could not be made "
                               "to last (%1)")
                    .arg(unreadable);
        return Replacement::notPossible;
    }
    // A file made anew gets the mode any new file of this user's gets; one that takes an old
    // file's place is for the user's eyes only until it has the old one's mode.
    NewFile file(at, old ? S_IRUSR | S_IWUSR : 0666);
    if (!file.isOpen()) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (old && !copyFileIdentity(oldFd, *old, file.fd())) {
        error = QStringLiteral("its owner, permissions or attributes cannot be given to a new "
                               "file (%1)")
                    .arg(qt_error_string(errno));
        return Replacement::notPossible;
    }
    // The sync makes sure the content is on the disk before the name is: a crash must not leave
    // the palette's name on an empty file.
    if (error = writeStart(file.fd(), bytes); !error.isEmpty())
        return Replacement::failed;
    if (!durably(DurableStep::syncFile, file.fd(), [&] { return fsync(file.fd()); })) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (!stillThere(at, old))
        return Replacement::replacedMeanwhile;
    // Between that check and the rename whoever may write the folder can still put something
    // else under the name. The rename then replaces that entry itself and never writes through
    // it: no other file's content is touched, only the entry put there is lost. The temporary
    // name is given only now, so that a kill leaves it behind as seldom as can be.
    if (!file.name()) {
        error = qt_error_string(errno);
        return Replacement::failed;
    }
    if (!file.replace()) {
        // A refused rename (a sticky folder, a file that is a mount point) leaves the old file
        // as it was.
        error = qt_error_string(errno);
        return old ? Replacement::notPossible : Replacement::failed;
    }
    // Until the folder reaches the disk, a power cut can bring the old name back. A file system
    // that cannot sync a folder answers EINVAL: there is nothing more to do there.
    if (!folder.isOpen()) {
        error = unreadable;
        return Replacement::unsynced;
    }
    if (!durably(DurableStep::syncFolder, folder.get(), [&] { return fsync(folder.get()); }) &&
        errno != EINVAL) {
        error = qt_error_string(errno);
        return Replacement::unsynced;
    }
    return Replacement::done;
}
