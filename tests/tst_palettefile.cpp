#include "PaletteFile.h"

#include "PackedColour.h"
#include "PaletteFileHooks.h"
#include "TestFiles.h"
#include "UnprivilegedRun.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray patternBytes(int size) {
    // Includes the bytes text handling likes to eat: NUL, LF, CR, ^Z, DEL and the top bit.
    static const char awkward[] = {0, 10, 13, 26, 127, char(128), char(255)};
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = i < 7 ? awkward[i] : static_cast<char>((i * 37 + 11) % 256);
    return bytes;
}

// Swaps the file for a named pipe, as another program could between looking and opening.
void swapForPipe(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    if (mkfifo(name + ".pipe", 0600) != 0 || rename(name + ".pipe", name) != 0)
        qFatal("cannot swap %s for a pipe", name.constData());
}

// The file a link swapped in during a save points at.
QString linkTarget;

// Swaps the file for a symbolic link to linkTarget, as whoever may write its folder could.
void swapForLink(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    if (symlink(QFile::encodeName(linkTarget), name + ".link") != 0 ||
        rename(name + ".link", name) != 0)
        _exit(4);
}

// The outcome of a save refused because the name was swapped for a link once it was checked.
constexpr int replaced = -2;

Palette sentinelPalette() {
    Palette palette{};
    for (int n = 0; n < 258; ++n)
        for (int c = 0; c < 5; ++c)
            palette[n][c] = n * 5 + c + 1;
    return palette;
}

} // namespace

class TestPaletteFile : public QObject {
    Q_OBJECT

private slots:
    void loadReadsEveryEntryWithItsPackedColour();
    void roundTripIsByteExact();
    void longerFileLoadsItsFirst768BytesAndSavesBackAsThem();
    void loadErrorsLeaveThePaletteUntouched_data();
    void loadErrorsLeaveThePaletteUntouched();
    void failedSaveIntoRemovedFolderKeepsPalette();
    void saveMakesARemovedFileAnew();
    void failedWriteKeepsTheOldFile();
    void saveFollowsLinksAndKeepsPermissions();
    void saveKeepsTheFileWhereverItMayBeWritten_data();
    void saveKeepsTheFileWhereverItMayBeWritten();
    void saveKeepsAclAndAttributes_data();
    void saveKeepsAclAndAttributes();
    void demoPaletteLoads();

private:
    QTemporaryDir m_dir;
};

void TestPaletteFile::loadReadsEveryEntryWithItsPackedColour() {
    const QString path = m_dir.filePath("entries.act");
    const QByteArray bytes = patternBytes(768);
    QVERIFY(writeFile(path, bytes));
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
    for (int n = 1; n <= 256; ++n) {
        const int at = 3 * (n - 1);
        QCOMPARE(palette[n][1], int(quint8(bytes[at])));
        QCOMPARE(palette[n][2], int(quint8(bytes[at + 1])));
        QCOMPARE(palette[n][3], int(quint8(bytes[at + 2])));
        QCOMPARE(palette[n][0], packedColour(palette[n][1], palette[n][2], palette[n][3]));
    }
    // The awkward bytes arrive as themselves.
    QCOMPARE(palette[1][1], 0);
    QCOMPARE(palette[1][2], 10);
    QCOMPARE(palette[1][3], 13);
    QCOMPARE(palette[2][1], 26);
    QCOMPARE(palette[2][2], 127);
    QCOMPARE(palette[2][3], 128);
    QCOMPARE(palette[3][1], 255);
    // Rows and channels outside the file stay untouched.
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(palette[0][c], 0);
        QCOMPARE(palette[257][c], 0);
    }
    for (int n = 0; n < 258; ++n)
        QCOMPARE(palette[n][4], 0);
}

void TestPaletteFile::roundTripIsByteExact() {
    const QString path = m_dir.filePath("roundtrip.act");
    const QByteArray bytes = patternBytes(768);
    QVERIFY(writeFile(path, bytes));
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), bytes);
}

void TestPaletteFile::longerFileLoadsItsFirst768BytesAndSavesBackAsThem() {
    const QString path = m_dir.filePath("long.act");
    const QByteArray bytes = patternBytes(1000);
    QVERIFY(writeFile(path, bytes));
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), bytes.left(768));
}

void TestPaletteFile::loadErrorsLeaveThePaletteUntouched_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    // "swapped..." is swapped for a named pipe between looking at the path and opening it.

    const auto make = [this](const char *name, auto create) {
        create(m_dir.filePath(name));
        return QString::fromLatin1(name);
    };
    QTest::newRow("missing") << make("missing.act", [](const QString &) {}) << "does not exist";
    QTest::newRow("folder") << make("folder.act", [](const QString &p) { QDir().mkdir(p); })
                            << "is a folder";
    QTest::newRow("named pipe") << make("pipe.act", [](const QString &p) {
        mkfifo(QFile::encodeName(p), 0600);
    }) << "is not a regular file";
    QTest::newRow("dangling link") << make("dangling.act", [this](const QString &p) {
        QFile::link(m_dir.filePath("nowhere"), p);
    }) << "is a link to a file that does not exist";
    QTest::newRow("empty") << make("empty.act", [](const QString &p) {
        QVERIFY(writeFile(p, QByteArray()));
    }) << "holds 0 bytes; a palette needs 768.";
    QTest::newRow("500 bytes") << make("short.act", [](const QString &p) {
        QVERIFY(writeFile(p, patternBytes(500)));
    }) << "holds 500 bytes; a palette needs 768.";
    QTest::newRow("767 bytes") << make("767.act", [](const QString &p) {
        QVERIFY(writeFile(p, patternBytes(767)));
    }) << "holds 767 bytes; a palette needs 768.";
    QTest::newRow("pipe swapped in")
        << make("swapped.act", [](const QString &p) { QVERIFY(writeFile(p, patternBytes(768))); })
        << "is not a regular file.";
}

void TestPaletteFile::loadErrorsLeaveThePaletteUntouched() {
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QString path = m_dir.filePath(name);
    Palette palette = sentinelPalette();
    afterLoadResolved = name.startsWith("swapped") ? swapForPipe : nullptr;
    alarm(10); // an open that waits for a pipe's writer ends the test here instead of hanging
    const QString error = loadPalette(path, palette);
    alarm(0);
    afterLoadResolved = nullptr;
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY2(error.contains(problem), qPrintable(error));
    QVERIFY(palette == sentinelPalette());
}

void TestPaletteFile::failedSaveIntoRemovedFolderKeepsPalette() {
    QTemporaryDir gone;
    const QString path = gone.filePath("europe.act");
    QVERIFY(gone.remove());
    const Palette palette = sentinelPalette();
    Palette copy = palette;
    const QString error = savePalette(path, copy);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY(copy == palette);
    QVERIFY(!QFile::exists(path));
}

void TestPaletteFile::saveMakesARemovedFileAnew() {
    QTemporaryDir folder;
    const QString path = folder.filePath("europe.act");
    Palette palette{};
    setPaletteFromBytes(palette, patternBytes(768));
    const mode_t previousMask = umask(027);
    const QString error = savePalette(path, palette);
    umask(previousMask);
    QCOMPARE(error, QString());
    QCOMPARE(readFile(path), patternBytes(768));
    struct stat status {}; // made as any new file of this user's is
    QCOMPARE(stat(QFile::encodeName(path), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0640u);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestPaletteFile::failedWriteKeepsTheOldFile() {
    // A file size limit makes the write itself fail, even for root, as a full disk would.
    const QString path = m_dir.filePath("limited.act");
    const QByteArray old = patternBytes(768);
    QVERIFY(writeFile(path, old));
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
    palette[1][1] = 99;

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const QString error = savePalette(path, palette);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable("error: " + error));
    // The system's own reason, not a generic one.
    QVERIFY2(error.contains(qt_error_string(EFBIG)), qPrintable(error));
    QCOMPARE(readFile(path), old);
    QCOMPARE(palette[1][1], 99);
}

void TestPaletteFile::saveFollowsLinksAndKeepsPermissions() {
    const QString target = m_dir.filePath("target.act");
    const QString link = m_dir.filePath("link.act");
    QVERIFY(writeFile(target, patternBytes(768)));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));
    Palette palette{};
    QCOMPARE(loadPalette(link, palette), QString());
    palette[256][3] = 7;
    QCOMPARE(savePalette(link, palette), QString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFile(target).at(767), char(7));
    const auto others = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser | QFile::ReadGroup |
                        QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                        QFile::ExeOther;
    QCOMPARE(QFile::permissions(target) & others,
             QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

void TestPaletteFile::saveKeepsTheFileWhereverItMayBeWritten_data() {
    // who: the saver ('m' this user, 'r' root, 'u' not root: nobody, for root), then the folder's
    // and the file's owner and group ('s' the saver's, 'o' another user's: root or nobody).
    // outcome: -1 saved as a new file (new inode), 0 saved in place, else refused with that error;
    // replaced: the name is swapped for a link to another file of the saver's once Save checked
    // the file, and Save must refuse.
    QTest::addColumn<QString>("who");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("secondLink");
    QTest::addColumn<int>("outcome");
    QTest::newRow("folder not writable") << "uooss" << 0755 << 0644 << false << 0;
    QTest::newRow("second hard link") << "mssss" << 0700 << 0644 << true << 0;
    QTest::newRow("writable folder") << "mssss" << 0700 << 0644 << false << -1;
    QTest::newRow("file not writable") << "ussss" << 0700 << 0444 << false << EACCES;
    QTest::newRow("disk full, in place") << "mssss" << 0700 << 0644 << true << EFBIG;
    QTest::newRow("root, user's file") << "rssoo" << 0700 << 0640 << false << -1;
    QTest::newRow("sticky folder") << "uoooo" << 01777 << 0666 << false << 0;
    QTest::newRow("group-writable") << "ussos" << 0755 << 0664 << false << 0;
    QTest::newRow("link swapped in, new file") << "mssss" << 0700 << 0644 << false << replaced;
    QTest::newRow("link swapped in, in place") << "mssss" << 0700 << 0644 << true << replaced;
    QTest::newRow("root, link to root's file") << "rssoo" << 0700 << 0640 << false << replaced;
}

void TestPaletteFile::saveKeepsTheFileWhereverItMayBeWritten() {
    QFETCH(QString, who);
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, secondLink);
    QFETCH(int, outcome);
    const passwd *nobody = getpwnam("nobody");
    const bool root = geteuid() == 0, asNobody = root && who[0] == 'u';
    if (who.contains('o') ? !root || !nobody : asNobody && !nobody)
        QSKIP("only root can make another user's file and save as root or as user nobody");
    const unsigned ids[2][2] = {
        {asNobody ? nobody->pw_uid : geteuid(), asNobody ? nobody->pw_gid : getegid()},
        {who[0] == 'r' ? nobody->pw_uid : 0, who[0] == 'r' ? nobody->pw_gid : 0}};
    const auto id = [&](int at) { return ids[who[at] == 'o'][1 - at % 2]; };
    QTemporaryDir folder;
    const QString path = folder.filePath("europe.act");
    const QByteArray folderName = QFile::encodeName(folder.path()), name = QFile::encodeName(path);
    const QByteArray old = patternBytes(1000), saved = old.right(768);
    QVERIFY(writeFile(path, old));
    QVERIFY(!secondLink || link(name, name + ".second") == 0);
    QVERIFY(chown(name, id(3), id(4)) == 0 && chmod(name, fileMode) == 0);
    QVERIFY(chown(folderName, id(1), id(2)) == 0 && chmod(folderName, folderMode) == 0);
    struct stat was {};
    QCOMPARE(stat(name, &was), 0);
    QTemporaryDir elsewhere;
    linkTarget = elsewhere.filePath("other.act");
    const QByteArray other = patternBytes(900);
    QVERIFY(writeFile(linkTarget, other));
    const auto otherFile = [] { // its bytes, inode, owner and mode
        struct stat status {};
        stat(QFile::encodeName(linkTarget), &status);
        return std::tuple(readFile(linkTarget), status.st_ino, status.st_uid, status.st_mode);
    };
    const auto otherWas = otherFile();
    const pid_t child = fork(); // the saver, which may become user nobody
    if (child == 0) {
        const rlimit none{}; // fails the first write, as a full disk would
        if (outcome == EFBIG)
            signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &none);
        if (asNobody && (setgroups(0, nullptr) || setgid(ids[0][1]) || setuid(ids[0][0])))
            _exit(3);
        Palette palette{};
        setPaletteFromBytes(palette, saved);
        afterSaveChecked = outcome == replaced ? swapForLink : nullptr;
        const QString message = savePalette(path, palette);
        if (!message.isEmpty())
            qWarning("%s", qPrintable(message));
        const QString expected =
            outcome == replaced ? "was replaced by another file while saving; nothing was written."
                                : (outcome > 0 ? qt_error_string(outcome) : QString());
        _exit(expected.isEmpty() ? !message.isEmpty()
                                 : !message.contains(path) || !message.contains(expected));
    }
    int status = -1;
    QVERIFY(child > 0 && waitpid(child, &status, 0) == child && status == 0);
    QVERIFY(otherFile() == otherWas);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + secondLink);
    const bool refused = outcome > 0 || outcome == replaced;
    QCOMPARE(readFile(path), outcome == replaced ? other : refused ? old : saved);
    QCOMPARE(readFile(path + ".second"), !secondLink ? QByteArray() : refused ? old : saved);
    if (outcome == replaced)
        return;
    struct stat now {};
    QCOMPARE(stat(name, &now), 0);
    QCOMPARE(now.st_ino == was.st_ino, outcome >= 0);
    QVERIFY(now.st_uid == was.st_uid && now.st_gid == was.st_gid && now.st_mode == was.st_mode);
}

void TestPaletteFile::saveKeepsAclAndAttributes_data() {
    // The file's ACL grants user nobody write access beside the owner's. Without it, the folder's
    // default ACL does, which would give a new file an ACL its predecessor did not have.
    QTest::addColumn<bool>("unprivileged");
    QTest::addColumn<bool>("fileAcl");
    QTest::newRow("ACL and attribute") << false << true;
    QTest::newRow("ACL and attribute, as nobody") << true << true;
    QTest::newRow("folder's default ACL, none on the file") << false << false;
}

void TestPaletteFile::saveKeepsAclAndAttributes() {
    QFETCH(bool, unprivileged);
    QFETCH(bool, fileAcl);
    if (QStandardPaths::findExecutable("setfacl").isEmpty() ||
        QStandardPaths::findExecutable("getfattr").isEmpty())
        QSKIP("needs setfacl, getfacl, setfattr and getfattr (Debian's acl and attr)");
    if (unprivileged && rerunAsUnprivilegedUser())
        return;
    QTemporaryDir folder;
    const QString path = folder.filePath("europe.act");
    const QByteArray name = QFile::encodeName(path);
    QVERIFY(writeFile(path, patternBytes(768)));
    if (setxattr(name, "user.note", "x", 1, 0) != 0 && errno == ENOTSUP)
        QSKIP("the temporary folder's file system keeps no extended attributes");
    const auto run = [](const char *program, QStringList arguments) {
        QProcess tool;
        tool.start(QString::fromLatin1(program), arguments);
        const bool ran = tool.waitForFinished() && tool.exitCode() == 0;
        return ran ? tool.readAllStandardOutput() : "failed: " + tool.readAllStandardError();
    };
    QCOMPARE(chmod(name, 0640), 0);
    const QStringList grant = fileAcl ? QStringList{"-m", "u:nobody:rw", path}
                                      : QStringList{"-d", "-m", "u:nobody:rwx", folder.path()};
    QCOMPARE(run("setfacl", grant), QByteArray());
    const QStringList aclOf{path}, attributesOf{"-d", "-m", "-", path};
    const QByteArray acl = run("getfacl", aclOf), attributes = run("getfattr", attributesOf);
    QVERIFY2(acl.contains("user:nobody:rw-") == fileAcl && attributes.contains("user.note=\"x\""),
             acl + attributes);
    struct stat was {};
    QCOMPARE(stat(name, &was), 0);

    Palette palette{};
    setPaletteFromBytes(palette, patternBytes(800).right(768));
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), patternBytes(800).right(768));
    struct stat now {};
    QCOMPARE(stat(name, &now), 0);
    QVERIFY(now.st_ino != was.st_ino); // replaced whole, not written in place
    QCOMPARE(now.st_mode, was.st_mode);
    QCOMPARE(run("getfacl", aclOf), acl);
    QCOMPARE(run("getfattr", attributesOf), attributes);
}

void TestPaletteFile::demoPaletteLoads() {
    const QString path = QStringLiteral(TPE_SOURCE_DIR "/examples/demo/europe.act");
    QCOMPARE(QFileInfo(path).size(), 768);
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
}

QTEST_GUILESS_MAIN(TestPaletteFile)
#include "tst_palettefile.moc"
