#include "PaletteFile.h"

#include "NumberedPalette.h"
#include "PackedColour.h"
#include "UnprivilegedRun.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where the palette file lies and whose it is, for the save test.
enum class Situation {
    ownFileInFolderNotWritable,
    secondHardLink,
    ownFileInWritableFolder,
    fileNotWritable,
    rootSavesAnotherUsersFile,
    stickyFolderAnotherUsersFile,
    groupWritableFileOfAnotherUser,
};

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
    void failedWriteKeepsTheOldFile();
    void failedWriteInPlaceReportsTheReasonAndLeavesNoShortFile();
    void saveFollowsLinksAndKeepsPermissions();
    void saveKeepsTheFileWhereverItMayBeWritten_data();
    void saveKeepsTheFileWhereverItMayBeWritten();
    void demoPaletteLoads();

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
}

void TestPaletteFile::loadErrorsLeaveThePaletteUntouched() {
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QString path = m_dir.filePath(name);
    Palette palette = sentinelPalette();
    const QString error = loadPalette(path, palette);
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

void TestPaletteFile::failedWriteInPlaceReportsTheReasonAndLeavesNoShortFile() {
    // A second hard link makes the save write in place; the size limit stops it after 100 bytes.
    const QString path = m_dir.filePath("linked.act");
    writeFile(path, patternBytes(1000));
    QCOMPARE(link(QFile::encodeName(path), QFile::encodeName(path + ".second")), 0);
    Palette palette{};
    setPaletteFromBytes(palette, numberedPaletteBytes(7));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const QString error = savePalette(path, palette);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY2(error.contains(path) && error.contains(qt_error_string(EFBIG)), qPrintable(error));
    QCOMPARE(readFile(path).size(), 1000);
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
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("sameInode");
    QTest::newRow("own file, folder not writable")
        << Situation::ownFileInFolderNotWritable << 1000 << true << true;
    QTest::newRow("second hard link") << Situation::secondHardLink << 768 << true << true;
    QTest::newRow("own file, writable folder")
        << Situation::ownFileInWritableFolder << 768 << true << false;
    QTest::newRow("file not writable") << Situation::fileNotWritable << 768 << false << true;
    QTest::newRow("root saves another user's file")
        << Situation::rootSavesAnotherUsersFile << 768 << true << false;
    QTest::newRow("another user's file in a sticky folder")
        << Situation::stickyFolderAnotherUsersFile << 768 << true << true;
    QTest::newRow("group-writable file of another user")
        << Situation::groupWritableFileOfAnotherUser << 768 << true << true;
}

void TestPaletteFile::saveKeepsTheFileWhereverItMayBeWritten() {
    QFETCH(Situation, situation);
    QFETCH(int, oldSize);
    QFETCH(bool, saved);
    QFETCH(bool, sameInode);
    // A plain user's own files: as root, the row runs again as user nobody.
    if ((situation == Situation::ownFileInFolderNotWritable ||
         situation == Situation::fileNotWritable) &&
        rerunAsUnprivilegedUser())
        return;
    // Another user's file: root makes it, and saves it or lets user nobody save it.
    const bool anotherUsersFile = situation >= Situation::rootSavesAnotherUsersFile;
    const passwd *nobody = unprivilegedUser();
    if (anotherUsersFile && (geteuid() != 0 || !nobody))
        QSKIP("only root can make a file that belongs to another user, and user nobody is needed");
    const bool nobodySaves = anotherUsersFile && situation != Situation::rootSavesAnotherUsersFile;

    QTemporaryDir base;
    QVERIFY(QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ExeOther));
    const QString folder = base.filePath("game");
    const QString path = folder + "/europe.act";
    const QByteArray folderName = QFile::encodeName(folder), name = QFile::encodeName(path);
    QVERIFY(QDir().mkdir(folder));
    const auto removable = qScopeGuard([&] { chmod(folderName, 0700); });
    const QByteArray old = patternBytes(oldSize);
    writeFile(path, old);
    const int nobodyUid = nobody ? int(nobody->pw_uid) : -1;
    const int nobodyGid = nobody ? int(nobody->pw_gid) : -1;
    bool ready = true;
    switch (situation) {
    case Situation::ownFileInFolderNotWritable:
        ready = chmod(folderName, 0555) == 0;
        break;
    case Situation::secondHardLink:
        ready = link(name, name + ".second") == 0;
        break;
    case Situation::ownFileInWritableFolder:
        break;
    case Situation::fileNotWritable:
        ready = chmod(name, 0444) == 0;
        break;
    case Situation::rootSavesAnotherUsersFile:
        ready = chown(name, nobodyUid, nobodyGid) == 0 && chmod(name, 0640) == 0;
        break;
    case Situation::stickyFolderAnotherUsersFile:
        ready = chmod(folderName, 01777) == 0 && chmod(name, 0666) == 0;
        break;
    case Situation::groupWritableFileOfAnotherUser:
        ready = chown(folderName, nobodyUid, nobodyGid) == 0 && chown(name, 0, nobodyGid) == 0 &&
                chmod(name, 0664) == 0;
        break;
    }
    QVERIFY(ready);
    struct stat before {};
    QCOMPARE(stat(name, &before), 0);
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);

    QString error;
    if (nobodySaves) {
        QByteArray output;
        const int exitCode = runAsUnprivilegedUser(TPE_SAVE_LOOP, {path, "4242", "1"}, output);
        QVERIFY2(exitCode == 0, output.constData());
    } else {
        Palette palette{};
        setPaletteFromBytes(palette, numberedPaletteBytes(4242));
        error = savePalette(path, palette);
    }
    if (saved)
        QCOMPARE(error, QString());
    else
        QVERIFY2(error.contains(path) && error.contains(qt_error_string(EACCES)),
                 qPrintable(error));
    const QByteArray expected = saved ? numberedPaletteBytes(4242) : old;
    QCOMPARE(readFile(path), expected);
    if (situation == Situation::secondHardLink)
        QCOMPARE(readFile(path + ".second"), expected);
    struct stat after {};
    QCOMPARE(stat(name, &after), 0);
    QCOMPARE(after.st_ino == before.st_ino, sameInode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), names);
}

void TestPaletteFile::demoPaletteLoads() {
    const QString path = QStringLiteral(TPE_SOURCE_DIR "/examples/demo/europe.act");
    QCOMPARE(QFileInfo(path).size(), 768);
    Palette palette{};
    QCOMPARE(loadPalette(path, palette), QString());
}

QTEST_GUILESS_MAIN(TestPaletteFile)
#include "tst_palettefile.moc"
