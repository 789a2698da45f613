#include "Editor.h"
#include "UnprivilegedRun.h"

#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QToolTip>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

bool writePalette(const QString &folder) {
    QFile file(folder + QStringLiteral("/europe.act"));
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(768, 'x')) == 768;
}

QStringList namesUnder(const QTreeWidgetItem *item) {
    QStringList names;
    for (int i = 0; i < item->childCount(); ++i)
        names << item->child(i)->text(0);
    return names;
}

// True when the list answers a tooltip request at point with a tooltip.
bool askToolTip(DirectoryList *list, QPoint point) {
    QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
    QApplication::sendEvent(list->viewport(), &help);
    return help.isAccepted();
}

} // namespace

class TestFolderDialog : public QObject {
    Q_OBJECT

    QString m_start = QDir::currentPath();

private slots:
    void cleanup() {
        QDir::setCurrent(m_start);
        QLocale::setDefault(QLocale::system());
    }

    void hiddenFolderHoldsThePalette() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(".wine") && QDir(dir.path()).mkpath("zeta"));
        QVERIFY(writePalette(dir.filePath(".wine")));
        Editor editor;
        editor.formLoad();
        DirectoryList *list = editor.diaload().Dir1;
        list->setPath(dir.path());
        QVERIFY(QTest::qWaitForWindowActive(&editor.diaload()));
        // After the visible folder, dimmed.
        QCOMPARE(namesUnder(list->currentItem()), (QStringList{"zeta", ".wine"}));
        QCOMPARE(list->currentItem()->child(0)->foreground(0).style(), Qt::NoBrush);
        QCOMPARE(list->currentItem()->child(1)->foreground(0).color(),
                 list->palette().color(QPalette::PlaceholderText));

        // Typing finds it as any other.
        list->setFocus();
        QTest::keyClicks(list, ".w");
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->path(), QDir(dir.filePath(".wine")).absolutePath());
        QVERIFY(editor.diaload().OKButton->isEnabled());
    }

    void deepPathShowsEveryNameWhole_data() {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("default font") << 0;
        QTest::newRow("14 pt") << 14;
    }
    void deepPathShowsEveryNameWhole() {
        QFETCH(int, pointSize);
        QTemporaryDir dir;
        const QString levels = "games/east asia/eastern front/europe/europe 1944/scenarios/"
                               "user campaigns/mods/terrain/palettes/seasons and weather/winter/"
                               "late winter 1944/europe";
        QVERIFY(levels.count('/') == 13 && QDir(dir.path()).mkpath(levels));
        Diaload dialog;
        if (pointSize)
            dialog.setFont(QFont(dialog.font().family(), pointSize));
        DirectoryList *list = dialog.Dir1;
        list->setPath(QDir(dir.path()).canonicalPath() + '/' + levels);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const int width = list->viewport()->width();
        int cutNames = 0;
        for (QTreeWidgetItem *item = list->currentItem(); item; item = item->parent()) {
            const QString name = item->text(0);
            const int needed = list->fontMetrics().horizontalAdvance(name) + 16;
            // Highlighted, it scrolls into view: whole where it fits, else from its start
            // with the tooltip for the rest.
            list->setCurrentItem(item);
            const QRect shown = list->visualItemRect(item);
            const bool fits = needed <= width;
            QVERIFY2(shown.width() >= needed && shown.left() >= 0 &&
                         (fits ? shown.left() + needed <= width : shown.left() == 0),
                     qPrintable(name));
            QCOMPARE(askToolTip(list, shown.topLeft() + QPoint(2, 2)), !fits);
            // Scrolled back to the start, a deep name runs past the edge: the tooltip gives it.
            list->horizontalScrollBar()->setValue(0);
            const QRect atStart = list->visualItemRect(item);
            if (atStart.left() + needed > width && atStart.left() + 2 < width) {
                ++cutNames;
                QVERIFY(askToolTip(list, atStart.topLeft() + QPoint(2, 2)));
                QCOMPARE(QToolTip::text(), name);
            }
        }
        QVERIFY(cutNames > 0);
    }

    void lostStartFolder_data() {
        QTest::addColumn<QString>("home");
        QTest::newRow("home folder") << "home";
        QTest::newRow("home gone too") << "missing";
        QTest::newRow("home relative") << "relative/home";
        QTest::newRow("no home") << "";
    }
    void lostStartFolder() {
        QFETCH(QString, home);
        QTemporaryDir dir;
        const QString top = QDir(dir.path()).canonicalPath();
        QVERIFY(QDir(top).mkpath("home") && QDir(top).mkpath("start"));
        QVERIFY(QDir::setCurrent(top + "/start") && QDir(top).rmdir("start"));
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", (home.contains('/') || home.isEmpty() ? home : top + '/' + home).toUtf8());
        Editor editor;
        qputenv("HOME", savedHome);
        const QString expected = home == "home" ? top + "/home" : QDir::rootPath();
        QCOMPARE(editor.diaload().Dir1->path(), expected);
        QCOMPARE(editor.diaload().Dir1->currentItem()->data(0, Qt::UserRole).toString(), expected);
        QVERIFY(expected.startsWith(editor.diaload().Drive1->drive()));
    }

    void namesInTheUsersOrder_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("expected");
        const QStringList french = {"eau", "Été", "fer", "map2", "map10", "zone"};
        QTest::newRow("French") << QLocale(QLocale::French) << french;
        // No language given: the language-neutral order, not the codes'.
        QTest::newRow("C locale") << QLocale::c() << french;
        QTest::newRow("German ö with o")
            << QLocale(QLocale::German) << QStringList{"ol", "öl", "zu"};
        QTest::newRow("Swedish ö after z")
            << QLocale(QLocale::Swedish) << QStringList{"ol", "zu", "öl"};
        QTest::newRow("case breaks ties")
            << QLocale(QLocale::English) << QStringList{"map", "Maps", "maps", "MAPS2"};
    }
    void namesInTheUsersOrder() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, expected);
        QLocale::setDefault(locale);
        QTemporaryDir dir;
        for (const QString &name : expected)
            QVERIFY(QDir(dir.path()).mkdir(name));
        DirectoryList list;
        list.setPath(dir.path());
        QCOMPARE(namesUnder(list.currentItem()), expected);
    }

    void driveListFollowsAMount() {
        if (geteuid() != 0)
            QSKIP("making a bind mount needs root");
        // A mount namespace of this process's own: the mount goes with the process whatever
        // happens, and no other program sees it.
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            QSKIP(qPrintable("no mount namespace of its own: " + QString(strerror(errno))));
        QTemporaryDir dir;
        const QString top = QDir(dir.path()).canonicalPath();
        // The mount table writes the space as \040.
        const QString disk = top + "/outer/game disk";
        QVERIFY(QDir().mkpath(disk) && QDir(top).mkpath("source/sub"));
        QVERIFY(writePalette(top + "/source/sub"));
        if (mount(qPrintable(top + "/source"), qPrintable(disk), nullptr, MS_BIND, nullptr) != 0)
            QSKIP(qPrintable("cannot bind-mount: " + QString(strerror(errno))));
        const auto unmount = qScopeGuard([&] { umount2(qPrintable(disk), MNT_DETACH); });
        const QString outerDrive = QStorageInfo(top + "/outer").rootPath();

        Editor editor;
        editor.formLoad();
        Diaload &dialog = editor.diaload();
        QSignalSpy moves(dialog.Dir1, &DirectoryList::pathChanged);
        QSignalSpy drivePicks(dialog.Drive1, &DriveList::driveChanged);
        dialog.Dir1->setPath(top + "/outer");
        QCOMPARE(dialog.Drive1->drive(), outerDrive);
        // Opened with Enter: into the mount, deeper, and out again.
        dialog.Dir1->setFocus();
        for (const QString &folder : {disk, disk + "/sub", top + "/outer"}) {
            const QString name = QFileInfo(folder).fileName();
            dialog.Dir1->setCurrentItem(
                dialog.Dir1->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            QTest::keyClick(dialog.Dir1, Qt::Key_Return);
            QCOMPARE(dialog.Dir1->path(), folder);
            QCOMPARE(dialog.Drive1->drive(), folder.startsWith(disk) ? disk : outerDrive);
            QCOMPARE(dialog.OKButton->isEnabled(), name == "sub");
        }
        // Each move reached the folder list once and never came back from the drive list.
        QCOMPARE(moves.size(), 4);
        QCOMPARE(drivePicks.size(), 0);
        // Picking the mount again moves the folder list there.
        dialog.Drive1->setFocus();
        while (dialog.Drive1->drive() != disk && moves.size() < 20)
            QTest::keyClick(dialog.Drive1, Qt::Key_Down);
        QCOMPARE(dialog.Dir1->path(), disk);
    }

    void unreadableFolderSaysSo_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("found");
        QTest::newRow("no rights") << 0000 << "cannot be opened: permission denied" << false;
        QTest::newRow("may pass, not list")
            << 0111 << "cannot be opened: permission denied" << true;
        QTest::newRow("gone") << -1 << "cannot be opened: not found" << false;
    }
    void unreadableFolderSaysSo() {
        QFETCH(int, mode);
        QFETCH(QString, note);
        QFETCH(bool, found);
        if (mode >= 0 && rerunAsUnprivilegedUser())
            return;
        QTemporaryDir dir;
        const QString locked = QDir(dir.path()).canonicalPath() + "/locked";
        QVERIFY(QDir().mkpath(locked + "/inner") && writePalette(locked));
        QVERIFY(mode < 0 ? QDir(locked).removeRecursively() : chmod(qPrintable(locked), mode) == 0);
        const auto unlock = qScopeGuard([&] { chmod(qPrintable(locked), 0700); });
        Editor editor;
        editor.formLoad();
        DirectoryList *list = editor.diaload().Dir1;
        list->setPath(locked);
        QCOMPARE(namesUnder(list->currentItem()), QStringList{note});
        QCOMPARE(list->currentItem()->child(0)->flags(), Qt::NoItemFlags);
        QCOMPARE(editor.diaload().OKButton->isEnabled(), found);
        // The note takes no highlight.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentItem()->data(0, Qt::UserRole).toString(), locked);
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
