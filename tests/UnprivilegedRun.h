#pragma once

// Permission checks mean nothing to root, and CI runs as root. A test whose point is a
// permission starts with `if (rerunAsUnprivilegedUser()) return;`. As root, that runs the same
// test function (and data row) again as user nobody in a copy of this test program, and records
// that run's outcome as this one's. As any other user it returns false and the test goes on. The
// copy lies in a folder of its own, as the build folder may lie in root's home; so such a test,
// and initTestCase(), must not need files only root can read.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

inline bool rerunAsUnprivilegedUser() {
    if (geteuid() != 0)
        return false;
    const passwd *nobody = getpwnam("nobody");
    if (!nobody) {
        QTest::qSkip("running as root and there is no user nobody to run as", __FILE__, __LINE__);
        return true;
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        function += QLatin1Char(':') + QString::fromUtf8(tag);

    const QString program = QCoreApplication::applicationFilePath();
    QTemporaryDir place(QDir::tempPath() + QStringLiteral("/unprivileged-XXXXXX"));
    const QString copy = place.filePath(program.section(QLatin1Char('/'), -1));
    const QString home = place.filePath(QStringLiteral("home"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Qt and fontconfig want a home, a cache and a runtime folder they may write.
    for (const char *name : {"HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QString::fromLatin1(name), home);
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(home);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setChildProcessModifier([uid, gid] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    });
    if (place.isValid() && chmod(QFile::encodeName(place.path()), 0755) == 0 &&
        QFile::copy(program, copy) && chmod(QFile::encodeName(copy), 0755) == 0 &&
        mkdir(QFile::encodeName(home), 0700) == 0 &&
        chown(QFile::encodeName(home), uid, gid) == 0) {
        child.start(copy, {function});
        if (child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit &&
            child.exitCode() == 0)
            return true;
    }
    QTest::qFail(qPrintable("as user nobody, " + function + " failed or did not start:\n" +
                            QString::fromLocal8Bit(child.readAll())),
                 __FILE__, __LINE__);
    return true;
}
