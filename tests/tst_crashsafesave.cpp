// A save killed at any moment must leave the palette file whole: either what it held before
// that save or what the save wrote, never a mix, a short file or no file.

#include "NumberedPalette.h"
#include "PaletteFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int killCount = 220;
// The first child runs this long; how many saves it makes sets the range of the later kills'
// delays, since a save takes milliseconds on a disk that syncs and far less on tmpfs.
constexpr int measuringMicroseconds = 300000;
// Later kills fall anywhere in the first few saves after the child has started its loop.
constexpr int savesInKillRange = 3;

// The number a palette file was saved under, if its bytes are that save's bytes.
std::optional<std::uint32_t> saveNumberOf(const QByteArray &bytes) {
    if (bytes.size() != 768)
        return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 0; i < 4; ++i)
        number |= static_cast<std::uint32_t>(static_cast<quint8>(bytes[i])) << (8 * i);
    if (bytes != numberedPaletteBytes(number))
        return std::nullopt;
    return number;
}

// Where the file system can make unnamed files, Save writes into one and gives it a name only
// once its content is complete; elsewhere it writes into a named temporary file.
bool canMakeUnnamedFiles(const QString &folder) {
    const int fd = open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child startSaveLoop(const QString &path, std::uint32_t firstNumber) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    const QByteArray file = QFile::encodeName(path);
    const QByteArray number = QByteArray::number(firstNumber);
    char *const argv[] = {const_cast<char *>(TPE_SAVE_LOOP), const_cast<char *>(file.data()),
                          const_cast<char *>(number.data()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, TPE_SAVE_LOOP, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed != 0) {
        close(fds[0]);
        return {};
    }
    return {pid, fds[0]};
}

// Appends what the child announced to numbers; waits at most timeoutMs for something to come.
// Returns false at the end of the output.
bool readAnnouncements(int fd, QByteArray &pending, std::vector<std::uint32_t> &numbers,
                       int timeoutMs) {
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, timeoutMs) <= 0)
        return true;
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0)
        return got < 0 && errno == EINTR;
    pending.append(buffer, got);
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
        numbers.push_back(pending.left(end).toUInt());
        pending.remove(0, end + 1);
    }
    return true;
}

} // namespace

class TestCrashSafeSave : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveAWholePalette();
};

void TestCrashSafeSave::killedSavesLeaveAWholePalette() {
    const char *const seedText = std::getenv("TPE_KILL_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                   : std::random_device{}();
    qInfo("seed %u (set TPE_KILL_SEED to repeat)", seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay;

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("europe.act"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(numberedPaletteBytes(0)), qint64(768));
    }

    std::uint32_t onDisk = 0;     // the save whose bytes the file holds
    std::uint32_t nextNumber = 1; // the next save a child starts with
    int interruptedBeforeRename = 0;
    for (int kill = 1; kill <= killCount; ++kill) {
        const Child child = startSaveLoop(path, nextNumber);
        QVERIFY2(child.pid > 0, "cannot start the save loop");
        QByteArray pending;
        std::vector<std::uint32_t> announced;
        // The child is in its loop once it has announced its first save.
        for (int wait = 0; announced.empty() && wait < 100; ++wait)
            readAnnouncements(child.output, pending, announced, 100);
        std::this_thread::sleep_for(
            std::chrono::microseconds(kill == 1 ? measuringMicroseconds : delay(random)));
        ::kill(child.pid, SIGKILL);
        int status = 0;
        waitpid(child.pid, &status, 0);
        while (readAnnouncements(child.output, pending, announced, 1000)) {
        }
        close(child.output);
        QVERIFY2(!announced.empty(), "the save loop never started saving");
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
                 qPrintable(QStringLiteral("the save loop ended by itself at kill %1, status %2")
                                .arg(kill)
                                .arg(status)));

        // The last announced save was the one under way: it either finished or left the
        // file as the save before it made it.
        const std::uint32_t underWay = announced.back();
        QCOMPARE(underWay, nextNumber + static_cast<std::uint32_t>(announced.size()) - 1);
        const std::uint32_t before = announced.size() > 1 ? underWay - 1 : onDisk;
        const QByteArray bytes = readFile(path);
        QVERIFY2(bytes.size() == 768,
                 qPrintable(QStringLiteral("kill %1: europe.act holds %2 bytes, seed %3")
                                .arg(kill)
                                .arg(bytes.size())
                                .arg(seed)));
        const std::optional<std::uint32_t> saved = saveNumberOf(bytes);
        QVERIFY2(saved && (*saved == before || *saved == underWay),
                 qPrintable(QStringLiteral("kill %1 during save %2: europe.act holds neither "
                                           "save %3 nor save %2, seed %4")
                                .arg(kill)
                                .arg(underWay)
                                .arg(before)
                                .arg(seed)));
        if (*saved != underWay)
            ++interruptedBeforeRename;
        onDisk = *saved;
        nextNumber = underWay + 1;
        if (kill == 1) {
            const int saveMicroseconds = measuringMicroseconds / static_cast<int>(announced.size());
            delay = std::uniform_int_distribution<int>(0, savesInKillRange * saveMicroseconds);
            qInfo("a save takes about %d us here; kills fall 0 to %d us into the loop",
                  saveMicroseconds, delay.max());
        }
    }
    qInfo("%d kills after %u saves; %d of them cut a save short of replacing the file", killCount,
          nextNumber - 1, interruptedBeforeRename);

    // A killed save can leave its temporary file behind (it is removed only by a save that
    // runs to its end), at most one per kill and only under the target's name plus a suffix.
    const bool unnamed = canMakeUnnamedFiles(folder.path());
    QStringList leftovers = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    leftovers.removeOne(QStringLiteral("europe.act"));
    qInfo("%lld temporary files left after %d kills (%s)", static_cast<long long>(leftovers.size()),
          killCount,
          unnamed ? "unnamed temporary files: a name exists only between link and rename"
                  : "named temporary files: every kill during a save can leave one");
    QVERIFY(leftovers.size() <= killCount);
    static const QRegularExpression temporaryName(QStringLiteral("^europe\\.act\\.\\w{6}$"));
    for (const QString &name : leftovers) {
        QVERIFY2(temporaryName.match(name).hasMatch(), qPrintable(name));
        // An unnamed file is named only when complete: it must be a whole palette.
        if (unnamed) {
            const std::optional<std::uint32_t> held = saveNumberOf(readFile(folder.filePath(name)));
            QVERIFY2(held && *held < nextNumber, qPrintable(name));
        }
    }

    // Saving goes on working and adds nothing beside the file.
    Palette palette{};
    setPaletteFromBytes(palette, numberedPaletteBytes(nextNumber));
    QCOMPARE(savePalette(path, palette), QString());
    QCOMPARE(readFile(path), numberedPaletteBytes(nextNumber));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(),
             leftovers.size() + 1);
}

QTEST_GUILESS_MAIN(TestCrashSafeSave)
#include "tst_crashsafesave.moc"
