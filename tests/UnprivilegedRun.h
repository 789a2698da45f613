#pragma once

// Permission checks mean nothing to root, who may read and write anything, and CI runs as
// root. A test whose point is a permission starts with
//
//     if (rerunAsUnprivilegedUser())
//         return;
//
// As root, that runs the same test function (and the same data row) again in a copy of this
// test program as user nobody, and records that run's outcome as this one's. As any other
// user it returns false and the test goes on as that user. The copy lives in a folder of its
// own that nobody may read, because the build folder may lie inside root's home; so such a
// test, and initTestCase(), must not need files that only root can read.
//
// A test about two users (root sets up another user's file, nobody works on it) runs a child
// program of its own as nobody with runAsUnprivilegedUser().

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

// The user that tests run as when they must not be root; null where there is none.
inline const passwd *unprivilegedUser() { return getpwnam("nobody"); }

// As root, runs a copy of program with arguments as user nobody and waits for it. Returns its
// exit code, or -1 when it could not be run or did not end; output receives what it wrote to
// standard output and standard error, or why it could not be run.
inline int runAsUnprivilegedUser(const QString &program, const QStringList &arguments,
                                 QByteArray &output) {
    const passwd *user = unprivilegedUser();
    if (geteuid() != 0 || !user) {
        output = "only root can run a program as user nobody, and there must be one";
        return -1;
    }
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;

    QTemporaryDir place(QDir::tempPath() + QStringLiteral("/unprivileged-XXXXXX"));
    const auto everyoneMayEnter = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                  QFileDevice::ExeOther;
    const QString copy = place.filePath(QFileInfo(program).fileName());
    const QString home = place.filePath(QStringLiteral("home"));
    if (!place.isValid() || !QFile::setPermissions(place.path(), everyoneMayEnter) ||
        !QFile::copy(program, copy) || !QFile::setPermissions(copy, everyoneMayEnter) ||
        !QDir().mkdir(home) || chown(home.toLocal8Bit().constData(), uid, gid) != 0) {
        output = "cannot prepare a copy of " + program.toLocal8Bit() + " for user nobody";
        return -1;
    }

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Qt and fontconfig want a home, a cache and a runtime folder they may write.
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(home);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setChildProcessModifier([uid, gid] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    });
    child.start(copy, arguments);
    const bool finished = child.waitForFinished(120000);
    output = child.readAll();
    if (!finished || child.exitStatus() != QProcess::NormalExit)
        return -1;
    return child.exitCode();
}

inline bool rerunAsUnprivilegedUser() {
    if (geteuid() != 0)
        return false;
    if (!unprivilegedUser()) {
        QTest::qSkip("running as root and there is no user nobody to run as", __FILE__, __LINE__);
        return true;
    }
    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        function += QLatin1Char(':') + QString::fromUtf8(tag);

    QByteArray output;
    if (runAsUnprivilegedUser(QCoreApplication::applicationFilePath(), {function}, output) != 0) {
        QTest::qFail(qPrintable(QStringLiteral("as user nobody, %1 failed:\n%2")
                                    .arg(function, QString::fromLocal8Bit(output))),
                     __FILE__, __LINE__);
    }
    return true;
}
