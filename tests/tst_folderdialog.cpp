#include "Editor.h"
#include "UnprivilegedRun.h"

#include <QScopeGuard>
#include <QScrollBar>
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
    const QString m_start = QDir::currentPath();

private slots:
    void cleanup() {
        QDir::setCurrent(m_start);
        QLocale::setDefault(QLocale::system());
    }

    // In the user's language order, hidden folders last; the last one holds the palette.
    void namesInOrderHiddenLast_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("names");
        const QStringList french = {"eau", "Été", "fer", "map2", "map10", ".wine"};
        QTest::newRow("French") << QLocale(QLocale::French) << french;
        QTest::newRow("C, no language") << QLocale::c() << french;
        QTest::newRow("Swedish") << QLocale(QLocale::Swedish)
                                 << QStringList{"ol", "zu", "öl", ".w"};
    }
    void namesInOrderHiddenLast() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, names);
        QLocale::setDefault(locale);
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
        QCOMPARE(list->path(), QDir(dir.filePath(names.last())).absolutePath());
        QVERIFY(editor.diaload().OKButton->isEnabled());
    }

    void deepPathShowsEveryNameWhole() {
        QTemporaryDir dir;
        const QString path = dir.path() + "/games/east asia/eastern front/europe/europe 1944/"
                                          "scenarios/user campaigns/mods/terrain/palettes/seasons "
                                          "and weather/winter/late winter 1944/europe 1944";
        Diaload dialog;
        DirectoryList *list = dialog.Dir1;
        QVERIFY(QDir().mkpath(path));
        list->setPath(path);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidgetItem *deepest = list->currentItem();
        for (QTreeWidgetItem *item = deepest; item; item = item->parent()) {
            // Highlighted, a name scrolls into view: whole, or from its start with a tooltip.
            list->setCurrentItem(item);
            const QRect shown = list->visualItemRect(item);
            const int needed = list->fontMetrics().horizontalAdvance(item->text(0)) + 16;
            const bool whole = shown.width() >= needed && shown.left() >= 0 &&
                               shown.left() + needed <= list->viewport()->width();
            QCOMPARE(toolTipAt(list, shown), whole ? QString() : item->text(0));
            QVERIFY(whole || shown.left() == 0);
        }
        list->horizontalScrollBar()->setValue(0);
        QCOMPARE(toolTipAt(list, list->visualItemRect(deepest)), QString("europe 1944"));
    }

    void lostStartFolder_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("expected");
        QTest::newRow("home folder") << QDir::tempPath() << QDir::tempPath();
        QTest::newRow("home gone too") << QDir::tempPath() + "/gone" << QDir::rootPath();
        QTest::newRow("home relative") << "tmp" << QDir::rootPath();
    }
    void lostStartFolder() {
        QFETCH(QString, home);
        QFETCH(QString, expected);
        QTemporaryDir start;
        QVERIFY(QDir::setCurrent(start.path()) && start.remove());
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", home.toUtf8());
        Editor editor;
        qputenv("HOME", savedHome);
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
        QTest::addColumn<bool>("found");
        QTest::newRow("no rights") << 0000 << false;
        QTest::newRow("may pass, not list") << 0111 << true;
    }
    void unreadableFolderSaysSo() {
        QFETCH(int, mode);
        QFETCH(bool, found);
        if (rerunAsUnprivilegedUser())
            return;
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("europe.act")).open(QIODevice::WriteOnly));
        QVERIFY(chmod(qPrintable(dir.path()), mode) == 0);
        const auto unlock = qScopeGuard([&] { chmod(qPrintable(dir.path()), 0700); });
        Editor editor;
        editor.diaload().Dir1->setPath(dir.path());
        const QTreeWidgetItem *folder = editor.diaload().Dir1->currentItem();
        QCOMPARE(folder->childCount(), 1);
        QCOMPARE(folder->child(0)->text(0), "cannot be opened: permission denied");
        QCOMPARE(folder->child(0)->flags(), Qt::NoItemFlags);
        QCOMPARE(editor.diaload().OKButton->isEnabled(), found);
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
