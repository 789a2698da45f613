#include "PaletteFile.h"

#include "ExportFile.h"
#include "PackedColour.h"
#include "PaletteExpectations.h"
#include "PaletteFileHooks.h"
#include "TestFiles.h"
#include "UnprivilegedRun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Another program swapping the palette for a pipe, or for a link to linkTarget, once checked.
QString linkTarget;
void swapForPipe(const QString &p) {
    QVERIFY(QFile::remove(p) && !mkfifo(QFile::encodeName(p), 0600));
}
void swapForLink(const QString &p) { QVERIFY(QFile::remove(p) && QFile::link(linkTarget, p)); }
// The calls that make a new file last, as made: "f" the new file synced, "r" the rename, "d" the
// folder synced; "F" where the new file was synced before it was whole.
QString durableSteps;
int folderSyncAnswer = 0;
int recordDurableStep(DurableStep step, int fd) {
    struct stat status {};
    const bool whole = fstat(fd, &status) == 0 && status.st_size == 768;
    durableSteps += (step != DurableStep::syncFile || whole ? "frd" : "FRD")[int(step)];
    return step == DurableStep::syncFolder ? folderSyncAnswer : 0;
}
constexpr int replaced = -2; // an outcome of saveKeepsTheFileWhereverItMayBeWritten

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
    void saveSyncsTheContentThenTheNameThenTheFolder_data();
    void saveSyncsTheContentThenTheNameThenTheFolder();
    void exportWritesWholeOrNothing_data();
    void exportWritesWholeOrNothing();

private:
    QTemporaryDir m_dir;
};

void TestPaletteFile::loadReadsEveryEntryWithItsPackedColour() {
    const QString path = m_dir.filePath("entries.act");
    const QByteArray bytes = patternBytes(768);
    writeFile(path, bytes);
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
    writeFile(path, bytes);
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
    writeFile(path, bytes);
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), bytes.left(768));
}

void TestPaletteFile::loadErrorsLeaveThePaletteUntouched_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");

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
        writeFile(p, QByteArray());
    }) << "holds 0 bytes; a palette needs 768.";
    QTest::newRow("500 bytes") << make("short.act", [](const QString &p) {
        writeFile(p, patternBytes(500));
    }) << "holds 500 bytes; a palette needs 768.";
    QTest::newRow("767 bytes") << make("767.act", [](const QString &p) {
        writeFile(p, patternBytes(767));
    }) << "holds 767 bytes; a palette needs 768.";
    QTest::newRow("pipe swapped in")
        << make("swapped.act", [](const QString &p) { writeFile(p, patternBytes(768)); })
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
    QTemporaryDir folder; // made as any new file of this user's is: 0666 less the umask
    const QString path = folder.filePath("europe.act");
    const mode_t mask = umask(027);
    const QString error = savePalette(path, Palette{});
    umask(mask);
    struct stat made {};
    QVERIFY2(stat(QFile::encodeName(path), &made) == 0 && (made.st_mode & 0777) == 0640,
             qPrintable(error));
}

void TestPaletteFile::failedWriteKeepsTheOldFile() {
    // A file size limit makes the write itself fail, even for root, as a full disk would.
    const QString path = m_dir.filePath("limited.act");
    const QByteArray old = patternBytes(768);
    writeFile(path, old);
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
    writeFile(target, patternBytes(768));
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
    // outcome: -1 saved as a new file (new inode), 0 saved in place, else refused with that error.
    // replaced: refused, the name swapped for a link to another file once Save checked it.
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
    QTest::newRow("folder not readable") << "uooss" << 0733 << 0644 << false << 0;
    QTest::newRow("link swapped in, new file") << "mssss" << 0700 << 0644 << false << replaced;
    QTest::newRow("link swapped in, in place") << "mssss" << 0700 << 0644 << true << replaced;
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
    writeFile(path, old);
    QVERIFY(!secondLink || link(name, name + ".second") == 0);
    QVERIFY(chown(name, id(3), id(4)) == 0 && chmod(name, fileMode) == 0);
    QVERIFY(chown(folderName, id(1), id(2)) == 0 && chmod(folderName, folderMode) == 0);
    struct stat was {};
    QCOMPARE(stat(name, &was), 0);
    QTemporaryDir elsewhere;
    linkTarget = elsewhere.filePath("other.act");
    writeFile(linkTarget, patternBytes(900));
    const bool refused = outcome > 0 || outcome == replaced;
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
        const QString why = outcome == replaced ? "was replaced by another file while saving"
                                                : qt_error_string(outcome);
        _exit(refused ? !message.contains(path) || !message.contains(why) : !message.isEmpty());
    }
    int status = -1;
    QVERIFY(child > 0 && waitpid(child, &status, 0) == child && status == 0);
    QCOMPARE(readFile(path), outcome == replaced ? patternBytes(900) : refused ? old : saved);
    QCOMPARE(readFile(path + ".second"), secondLink ? (refused ? old : saved) : QByteArray());
    struct stat now {};
    QCOMPARE(stat(name, &now), 0);
    QCOMPARE(now.st_ino == was.st_ino, outcome >= 0);
    if (outcome != replaced) // the name now stands for the link's target
        QVERIFY(now.st_uid == was.st_uid && now.st_gid == was.st_gid && now.st_mode == was.st_mode);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + secondLink);
}

void TestPaletteFile::saveKeepsAclAndAttributes_data() {
    // Without an ACL on the file, the folder's default ACL would give the new file one it lacked.
    QTest::addColumn<bool>("unprivileged");
    QTest::addColumn<QString>("grant");
    QTest::newRow("file's ACL") << false << "-m u:nobody:rw europe.act";
    QTest::newRow("file's ACL, as nobody") << true << "-m u:nobody:rw europe.act";
    QTest::newRow("folder's default ACL") << false << "-d -m u:nobody:rwx .";
}

void TestPaletteFile::saveKeepsAclAndAttributes() {
    QFETCH(bool, unprivileged);
    QFETCH(QString, grant);
    if (unprivileged && rerunAsUnprivilegedUser())
        return;
    QTemporaryDir folder;
    const auto run = [&folder](const QString &command) { // its output, or why it failed
        QProcess tool;
        tool.setWorkingDirectory(folder.path());
        tool.startCommand(command);
        const bool ran = tool.waitForFinished() && tool.exitCode() == 0;
        return ran ? tool.readAllStandardOutput() : "failed: " + tool.readAllStandardError();
    };
    writeFile(folder.filePath("europe.act"), patternBytes(768));
    if (run("setfattr -n user.note -v x europe.act").startsWith("failed"))
        QSKIP("needs Debian's acl and attr, and a file system that keeps extended attributes");
    QCOMPARE(run("chmod 640 europe.act") + run("setfacl " + grant), QByteArray());
    const QString identity = "stat -c %i europe.act", attributes = "getfattr -d -m - europe.act";
    const QByteArray inode = run(identity), kept = run("getfacl europe.act") + run(attributes);
    QCOMPARE(savePalette(folder.filePath("europe.act"), Palette{}), QString());
    QVERIFY(run(identity) != inode); // replaced whole, not written in place
    QCOMPARE(run("getfacl europe.act") + run(attributes), kept);
}

void TestPaletteFile::demoPaletteLoads() {
    const QString path = QStringLiteral(TPE_SOURCE_DIR "/examples/demo/europe.act");
    QCOMPARE(QFileInfo(path).size(), 768);
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
}

void TestPaletteFile::saveSyncsTheContentThenTheNameThenTheFolder_data() {
    // steps: as recordDurableStep notes them; folderMode: the folder's while saving (0300: this
    // user may write it, not read it); gone: the file was removed before Save; folderSync: what
    // the folder's sync is made to answer; error: a word Save's error holds, none where it saves.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("gone");
    QTest::addColumn<int>("folderSync");
    QTest::addColumn<QString>("error");
    QTest::newRow("replaced whole") << "frd" << 0700 << false << 0 << "";
    QTest::newRow("no folder syncs there") << "frd" << 0700 << false << EINVAL << "";
    QTest::newRow("folder sync fails") << "frd" << 0700 << false << EIO << "power cut";
    QTest::newRow("folder not readable: in place") << "" << 0300 << false << 0 << "";
    QTest::newRow("folder not readable, made anew") << "fr" << 0300 << true << 0 << "power cut";
}

void TestPaletteFile::saveSyncsTheContentThenTheNameThenTheFolder() {
    QFETCH(QString, steps);
    QFETCH(int, folderMode);
    QFETCH(bool, gone);
    QFETCH(int, folderSync);
    QFETCH(QString, error);
    if (folderMode != 0700 && rerunAsUnprivilegedUser())
        return;
    QTemporaryDir folder;
    const QString path = folder.filePath("europe.act");
    QVERIFY(gone || writeFile(path, patternBytes(768)));
    const Palette palette = distinctPalette();
    durableSteps.clear();
    folderSyncAnswer = folderSync;
    beforeDurableStep = recordDurableStep;
    chmod(QFile::encodeName(folder.path()), folderMode);
    bool written = false;
    const QString message = savePalette(path, palette, &written);
    chmod(QFile::encodeName(folder.path()), 0700);
    beforeDurableStep = nullptr;
    QCOMPARE(durableSteps, steps); // no steps, and so no rename, for a file written in place
    QVERIFY2(message.contains(error) && message.isEmpty() == error.isEmpty(), qPrintable(message));
    QVERIFY(written);
    QCOMPARE(readFile(path), fileBytes(palette));
}

void TestPaletteFile::exportWritesWholeOrNothing_data() {
    // Exported to target in a folder that holds the open palette europe.act, its symbolic link
    // link.act and hard link hard.act, and other.gpl (mode 0640); the folder has folderMode
    // while exporting. error: a word the error holds; none where the export is written.
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<QString>("error");
    QTest::newRow("new file") << "new.gpl" << 0700 << "";
    QTest::newRow("replace keeps mode") << "other.gpl" << 0700 << "";
    QTest::newRow("the open palette, a link") << "link.act" << 0700 << "use Save";
    QTest::newRow("the open palette, a hard link") << "hard.act" << 0700 << "use Save";
    QTest::newRow("folder not writable") << "new.gpl" << 0500 << qt_error_string(EACCES);
    QTest::newRow("folder not writable, replace") << "other.gpl" << 0500 << "may not be changed";
    QTest::newRow("folder not readable") << "new.gpl" << 0300 << "cannot be read";
    QTest::newRow("missing folder") << "gone/new.gpl" << 0700 << qt_error_string(ENOENT);
}

void TestPaletteFile::exportWritesWholeOrNothing() {
    QFETCH(QString, target);
    QFETCH(int, folderMode);
    QFETCH(QString, error);
    if (folderMode != 0700 && rerunAsUnprivilegedUser())
        return;
    QTemporaryDir folder;
    const QString path = folder.filePath(target), open = folder.filePath("europe.act");
    QVERIFY(writeFile(open, patternBytes(768)) && QFile::link(open, folder.filePath("link.act")));
    QVERIFY(link(QFile::encodeName(open), QFile::encodeName(folder.filePath("hard.act"))) == 0);
    QVERIFY(writeFile(folder.filePath("other.gpl"), "GIMP Palette\n"));
    QVERIFY(chmod(QFile::encodeName(folder.filePath("other.gpl")), 0640) == 0);
    const QByteArray was = readFile(path); // for a link or hard link, the open palette's bytes
    const mode_t mask = umask(022);
    chmod(QFile::encodeName(folder.path()), folderMode);
    const QString message = exportFile(path, "exported", open);
    chmod(QFile::encodeName(folder.path()), 0700);
    umask(mask);
    QVERIFY2(message.contains(error) && message.isEmpty() == error.isEmpty(), qPrintable(message));
    QVERIFY(error.isEmpty() || message.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(readFile(path), error.isEmpty() ? "exported" : was);
    struct stat made {};
    QVERIFY(!error.isEmpty() || (stat(QFile::encodeName(path), &made) == 0 &&
                                 (made.st_mode & 0777) == (target == "new.gpl" ? 0644u : 0640u)));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(),
             4 + (error.isEmpty() && target == "new.gpl"));
}

QTEST_GUILESS_MAIN(TestPaletteFile)
#include "tst_palettefile.moc"
