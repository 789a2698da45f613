#include "Editor.h"
#include "MountTable.h"
#include "UnprivilegedRun.h"

#include <QScopeGuard>
#include <QStorageInfo>
#include <QToolTip>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

class TestFolderDialog : public QObject {
    Q_OBJECT

private slots:
    // Started in a removed folder, the list opens at home, in the row's language's order, hidden
    // last. Typing opens the last, which holds the palette; if closed to us, a greyed note says so.
    void homeAndItsHiddenPalette_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("mode");
        const QStringList french = {"eau", "Été", "fer", "map2", "map10", ".wine"};
        QTest::newRow("fr") << french << 0700;
        QTest::newRow("C") << french << 0111; // no language: the neutral order, not the codes'
        QTest::newRow("sv") << QStringList{"ol", "zu", "öl", ".w"} << 0000;
    }
    void homeAndItsHiddenPalette() {
        QFETCH(QStringList, names);
        QFETCH(int, mode);
        if (mode != 0700 && rerunAsUnprivilegedUser())
            return;
        const auto restore = qScopeGuard([cwd = QDir::currentPath(), home = qgetenv("HOME")] {
            QDir::setCurrent(cwd);
            qputenv("HOME", home);
            QLocale::setDefault(QLocale::system());
        });
        QLocale::setDefault(QLocale(QTest::currentDataTag()));
        QTemporaryDir dir, start;
        for (const QString &name : names)
            QVERIFY(QDir(dir.path()).mkdir(name));
        const QString hidden = dir.filePath(names.last());
        QVERIFY(QFile(hidden + "/europe.act").open(QIODevice::WriteOnly));
        QVERIFY(chmod(qPrintable(hidden), mode) == 0);
        const auto unlock = qScopeGuard([&] { chmod(qPrintable(hidden), 0700); });
        QVERIFY(QDir::setCurrent(start.path()) && start.remove());
        QVERIFY(qputenv("HOME", dir.path().toUtf8()));
        Editor editor;
        QCOMPARE(editor.diaload().Dir1->currentItem()->childCount(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(editor.diaload().Dir1->currentItem()->child(i)->text(0), names[i]);
        QTest::keyClicks(editor.diaload().Dir1, ".w\r"); // found by typing, opened with Enter
        QTRY_COMPARE(editor.diaload().Dir1->path(), hidden);
        const QTreeWidgetItem *note = editor.diaload().Dir1->currentItem()->child(0);
        QCOMPARE(note && !note->flags() ? note->text(0) : "", mode & S_IRUSR ? "" : "no access");
        QCOMPARE(editor.diaload().OKButton->isEnabled(), bool(mode & S_IXUSR));
        for (const char *home : {"/nonexistent", "tmp"}) // no usable home: the root
            QVERIFY(qputenv("HOME", home) && Editor().diaload().Dir1->path() == "/");
    }

    void deepPathShowsEveryNameWhole() {
        QTemporaryDir dir;
        const QString path = dir.path() + QString("/europe 1944").repeated(13) +
                             "/seasons and weather in the late winter of 1944";
        Diaload dialog;
        QVERIFY(QDir().mkpath(path));
        dialog.Dir1->setPath(path);
        dialog.show();
        // Fourteen levels, the last wider than the list; a highlighted name scrolls into view.
        for (QTreeWidgetItem *item = dialog.Dir1->currentItem(); item; item = item->parent()) {
            dialog.Dir1->setCurrentItem(item);
            const QRect shown = dialog.Dir1->visualItemRect(item);
            const int needed = dialog.Dir1->fontMetrics().horizontalAdvance(item->text(0)) + 16;
            const bool whole = shown.width() >= needed && shown.left() >= 0 &&
                               shown.left() + needed <= dialog.Dir1->viewport()->width();
            QHelpEvent help(QEvent::ToolTip, shown.topLeft() + QPoint(2, 2), {});
            QApplication::sendEvent(dialog.Dir1->viewport(), &help);
            QCOMPARE(help.isAccepted() ? QToolTip::text() : QString(), whole ? "" : item->text(0));
        }
    }

    // Started in the palette's folder, OK waits; Enter or a double-click on its row checks it.
    void openFolderIsCheckedAgain() {
        const auto restore = qScopeGuard([cwd = QDir::currentPath()] { QDir::setCurrent(cwd); });
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()) && QFile("europe.act").open(QIODevice::WriteOnly));
        Editor editor;
        editor.formLoad();
        Diaload &dialog = editor.diaload();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog) && !dialog.OKButton->isEnabled());
        // Looked at once the activation has been delivered, not while the row is in use.
        QTest::keyClick(dialog.Dir1, Qt::Key_Return);
        QVERIFY(!dialog.OKButton->isEnabled());
        QTRY_VERIFY(dialog.OKButton->isEnabled());
        QCOMPARE(editor.state().paletteFilePath, dir.filePath("europe.act"));
        // Gone again, as a double-click (press, release, press, release) on the row finds.
        QVERIFY(QFile::remove("europe.act"));
        const QRect row = dialog.Dir1->visualItemRect(dialog.Dir1->currentItem());
        QTest::mouseEvent(QTest::MouseDClick, dialog.windowHandle(), Qt::LeftButton, {},
                          dialog.Dir1->viewport()->mapTo(&dialog, row.center()));
        QTRY_VERIFY(dialog.Dir1->path() == dir.path() && !dialog.OKButton->isEnabled());
    }

    void driveListFollowsAMount() {
        QTemporaryDir dir;
        const QString outer = dir.path() + "/outer", disk = outer + "/game disk"; // \040 in mtab
        QVERIFY(QDir().mkpath(disk) && QDir().mkpath(dir.path() + "/source/sub"));
        // A mount namespace of its own: the mount ends with this process, and no one else sees it.
        if (unshare(CLONE_NEWNS) || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
            mount(qPrintable(dir.path() + "/source"), qPrintable(disk), nullptr, MS_BIND, nullptr))
            QSKIP(qPrintable("cannot bind-mount: " + QString(strerror(errno))));
        const auto unmount = qScopeGuard([&] { umount2(qPrintable(disk), MNT_DETACH); });
        Editor editor;
        for (const QString &folder : {outer, disk, disk + "/sub", outer}) {
            editor.diaload().Dir1->setPath(folder);
            QCOMPARE(editor.diaload().Dir1->path(), folder);
            QCOMPARE(editor.diaload().Drive1->drive(),
                     folder.startsWith(disk) ? disk : QStorageInfo(outer).rootPath());
        }
    }

    // The kernel's own file systems and the plumbing under /run and /etc are left out.
    void userMountPointsOfATable() {
        const QByteArray table = "1 0 8:1 / / rw shared:1 - ext4 /dev/sda1 rw\n"
                                 "2 1 8:2 / /mnt/my\\040disk\\134x rw - ext4 /dev/sdb1 rw\n"
                                 "3 1 0:9 / /srv/cg rw - cgroup2 cgroup2 rw\n"
                                 "4 1 0:8 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                                 "5 1 8:3 / /run/media/ann/USB rw - vfat /dev/sdc1 rw\n"
                                 "6 1 8:1 / /etc/hosts rw - ext4 /dev/sda1 rw\n"
                                 "7 1 8:1 / /devices rw - ext4 /dev/sda1 rw\n"
                                 "8 1 8:1 / /cut rw\n";
        QCOMPARE(userMountPoints(table),
                 QStringList({"/", "/mnt/my disk\\x", "/run/media/ann/USB", "/devices"}));
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
