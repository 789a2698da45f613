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

    // Opening the open folder again checks it as moving there would: started inside the palette's
    // folder, or with the palette put there after the folder was opened.
    void openFolderIsCheckedAgain_data() {
        QTest::addColumn<bool>("startedInside");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("started inside, Enter") << true << false;
        QTest::newRow("palette came later, double-click") << false << true;
    }
    void openFolderIsCheckedAgain() {
        QFETCH(bool, startedInside);
        QFETCH(bool, doubleClick);
        const auto restore = qScopeGuard([cwd = QDir::currentPath()] { QDir::setCurrent(cwd); });
        QTemporaryDir dir;
        const QString palette = dir.filePath("europe.act");
        if (startedInside)
            QVERIFY(QFile(palette).open(QIODevice::WriteOnly) && QDir::setCurrent(dir.path()));
        Editor editor;
        editor.formLoad();
        DirectoryList *list = editor.diaload().Dir1;
        list->setPath(dir.path());
        QVERIFY(QTest::qWaitForWindowExposed(&editor.diaload()));
        QVERIFY(!editor.diaload().OKButton->isEnabled());
        QVERIFY(startedInside || QFile(palette).open(QIODevice::WriteOnly));
        list->setFocus();
        // A double-click as the window system delivers it: press, release, press, release.
        const QPoint row = list->visualItemRect(list->currentItem()).center();
        if (doubleClick)
            QTest::mouseEvent(QTest::MouseDClick, editor.diaload().windowHandle(), Qt::LeftButton,
                              {}, list->viewport()->mapTo(&editor.diaload(), row));
        else
            QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->path(), dir.path());
        QVERIFY(editor.diaload().OKButton->isEnabled());
        QCOMPARE(editor.state().paletteFilePath, palette);
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

    // The kernel's mount table, read without widgets: its own file systems and the system's
    // plumbing are left out, escaped names decoded, a cut line passed over.
    void userMountPoints_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("offered");
        const auto row = [](const char *mountPoint, const char *type, QStringList offered,
                            const char *optional = "shared:1") {
            QTest::newRow(mountPoint) << QByteArray("36 35 98:0 / ") + mountPoint + " rw " +
                                             optional + " - " + type + " /dev/sda1 rw"
                                      << offered;
        };
        row("/", "ext4", {"/"});
        row("/home", "ext4", {"/home"}, "");
        row("/mnt/my\\040disk\\134x", "ext4", {"/mnt/my disk\\x"});
        row("/proc", "proc", {});
        row("/srv/cg", "cgroup2", {});
        row("/sys/fs/fuse", "fuse", {});
        row("/run/user/1000", "tmpfs", {});
        row("/run/media/ann/USB", "vfat", {"/run/media/ann/USB"});
        row("/etc/hosts", "ext4", {});
        row("/devices", "ext4", {"/devices"});
        QTest::newRow("cut line") << QByteArray("36 35 98:0 / /mnt rw") << QStringList();
    }
    void userMountPoints() {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, offered);
        QCOMPARE(::userMountPoints(line + "\n\n"), offered);
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
