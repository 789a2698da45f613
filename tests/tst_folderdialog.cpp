#include "Editor.h"
#include "UnprivilegedRun.h"

#include <QScopeGuard>
#include <QToolTip>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

// The tooltip that list gives over the start of rect, or nothing.
static QString toolTipAt(DirectoryList *list, const QRect &rect) {
    const QPoint point = rect.topLeft() + QPoint(2, 2);
    QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
    QApplication::sendEvent(list->viewport(), &help);
    return help.isAccepted() ? QToolTip::text() : QString();
}

class TestFolderDialog : public QObject {
    Q_OBJECT

private slots:
    // Subfolders in the order of the row's language, hidden ones last; the last holds a palette.
    void namesInOrderHiddenLast_data() {
        QTest::addColumn<QStringList>("names");
        const QStringList french = {"eau", "Été", "fer", "map2", "map10", ".wine"};
        QTest::newRow("fr") << french;
        QTest::newRow("C") << french; // no language: the language-neutral order, not the codes'
        QTest::newRow("sv") << QStringList{"ol", "zu", "öl", ".w"};
    }
    void namesInOrderHiddenLast() {
        QFETCH(QStringList, names);
        QLocale::setDefault(QLocale(QTest::currentDataTag()));
        const auto reset = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        QTemporaryDir dir;
        for (const QString &name : names)
            QVERIFY(QDir(dir.path()).mkdir(name));
        QVERIFY(QFile(dir.filePath(names.last() + "/europe.act")).open(QIODevice::WriteOnly));
        Editor editor;
        DirectoryList *list = editor.diaload().Dir1;
        list->setPath(dir.path());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(list->currentItem()->child(i)->text(0), names[i]);
        QTest::keyClicks(list, ".w");
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(list->path().endsWith(names.last()) && editor.diaload().OKButton->isEnabled());
    }

    void deepPathShowsEveryNameWhole() {
        QTemporaryDir dir;
        const QString path = dir.path() +
                             "/games/east asia/eastern front/europe/europe 1944/"
                             "scenarios/user campaigns/mods/terrain/palettes/seasons "
                             "and weather in the late winter of 1944/winter/1944/europe";
        Diaload dialog;
        QVERIFY(QDir().mkpath(path));
        dialog.Dir1->setPath(path);
        dialog.show();
        for (QTreeWidgetItem *item = dialog.Dir1->currentItem(); item; item = item->parent()) {
            // Highlighted, a name scrolls into view: whole, or from its start with a tooltip.
            dialog.Dir1->setCurrentItem(item);
            const QRect shown = dialog.Dir1->visualItemRect(item);
            const int needed = dialog.Dir1->fontMetrics().horizontalAdvance(item->text(0)) + 16;
            const bool whole = shown.width() >= needed && shown.left() >= 0 &&
                               shown.left() + needed <= dialog.Dir1->viewport()->width();
            QCOMPARE(toolTipAt(dialog.Dir1, shown), whole ? QString() : item->text(0));
            QVERIFY(whole || shown.left() == 0);
        }
    }

    void lostStartFolder_data() {
        QTest::addColumn<QString>("home");
        QTest::newRow("home folder") << QDir::tempPath();
        QTest::newRow("home gone too") << QDir::tempPath() + "/gone";
        QTest::newRow("home relative") << "tmp";
    }
    void lostStartFolder() {
        QFETCH(QString, home);
        const auto back = qScopeGuard([cwd = QDir::currentPath(), saved = qgetenv("HOME")] {
            QDir::setCurrent(cwd);
            qputenv("HOME", saved);
        });
        QTemporaryDir start;
        QVERIFY(QDir::setCurrent(start.path()) && start.remove() && qputenv("HOME", home.toUtf8()));
        Editor editor;
        const QString expected = home == QDir::tempPath() ? home : QDir::rootPath();
        QCOMPARE(editor.diaload().Dir1->path(), expected);
        QVERIFY(expected.startsWith(editor.diaload().Drive1->drive()));
    }

    void driveListFollowsAMount() {
        // A mount namespace of its own: the mount ends with this process, and no one else sees it.
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            QSKIP(qPrintable("no mount namespace of its own: " + QString(strerror(errno))));
        QTemporaryDir dir;
        const QString outer = dir.path() + "/outer", disk = outer + "/game disk"; // \040 in mtab
        QVERIFY(QDir().mkpath(disk) && QDir().mkpath(dir.path() + "/source/sub"));
        if (mount(qPrintable(dir.path() + "/source"), qPrintable(disk), nullptr, MS_BIND, nullptr))
            QSKIP(qPrintable("cannot bind-mount: " + QString(strerror(errno))));
        const auto unmount = qScopeGuard([&] { umount2(qPrintable(disk), MNT_DETACH); });
        Editor editor;
        Diaload &dialog = editor.diaload();
        dialog.Dir1->setPath(outer);
        const QString outerDrive = dialog.Drive1->drive();
        for (const QString &folder : {disk, disk + "/sub", outer}) {
            dialog.Dir1->setPath(folder);
            QCOMPARE(dialog.Drive1->drive(), folder.startsWith(disk) ? disk : outerDrive);
            QCOMPARE(dialog.Dir1->path(), folder);
        }
        // Picking the mount again moves the folder list there.
        for (int i = 0; i < 20 && dialog.Drive1->drive() != disk; ++i)
            QTest::keyClick(dialog.Drive1, Qt::Key_Down);
        QCOMPARE(dialog.Dir1->path(), disk);
    }

    void unreadableFolderSaysSo_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("no rights") << 0000;
        QTest::newRow("may pass, not list") << 0111;
    }
    void unreadableFolderSaysSo() {
        QFETCH(int, mode);
        if (rerunAsUnprivilegedUser())
            return;
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("europe.act")).open(QIODevice::WriteOnly));
        QVERIFY(chmod(qPrintable(dir.path()), mode) == 0);
        const auto unlock = qScopeGuard([&] { chmod(qPrintable(dir.path()), 0700); });
        Editor editor;
        editor.diaload().Dir1->setPath(dir.path());
        const QTreeWidgetItem *note = editor.diaload().Dir1->currentItem()->child(0);
        QVERIFY(note && note->flags() == Qt::NoItemFlags);
        QCOMPARE(note->text(0), "cannot be opened: permission denied");
        // The palette counts wherever the folder may be passed through.
        QCOMPARE(editor.diaload().OKButton->isEnabled(), bool(mode & S_IXUSR));
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
