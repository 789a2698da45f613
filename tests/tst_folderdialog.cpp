#include "Editor.h"
#include "UnprivilegedRun.h"

#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
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

// Sends the list a tooltip request at point; true when it answered with a tooltip.
bool askToolTip(DirectoryList *list, QPoint point) {
    QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
    QApplication::sendEvent(list->viewport(), &help);
    return help.isAccepted();
}

} // namespace

class TestFolderDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_start = QDir::currentPath(); }
    void cleanup() {
        QDir::setCurrent(m_start);
        QLocale::setDefault(QLocale::system());
    }

    void hiddenFolderHoldsThePalette_data();
    void hiddenFolderHoldsThePalette();
    void deepPathShowsEveryNameWhole_data();
    void deepPathShowsEveryNameWhole();
    void lostStartFolder_data();
    void lostStartFolder();
    void namesInTheUsersOrder_data();
    void namesInTheUsersOrder();
    void driveListFollowsAMount();
    void unreadableFolderSaysSo_data();
    void unreadableFolderSaysSo();

private:
    QString m_start;
};

void TestFolderDialog::hiddenFolderHoldsThePalette_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("typed and Enter") << QStringList{".wine", "drive_c"} << false;
    QTest::newRow("double-click") << QStringList{".local", "share"} << true;
}

void TestFolderDialog::hiddenFolderHoldsThePalette() {
    QFETCH(QStringList, steps);
    QFETCH(bool, byMouse);
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    QVERIFY(QDir(top).mkpath(steps.join('/')) && QDir(top).mkpath("zeta"));
    QVERIFY(writePalette(top + '/' + steps.join('/')));

    Editor editor;
    editor.formLoad();
    DirectoryList *list = editor.diaload().Dir1;
    list->setPath(top);
    QVERIFY(QTest::qWaitForWindowActive(&editor.diaload()));
    // Listed after the visible folder, dimmed.
    QCOMPARE(namesUnder(list->currentItem()), (QStringList{"zeta", steps[0]}));
    const QTreeWidgetItem *hidden = list->currentItem()->child(1);
    QCOMPARE(hidden->foreground(0).color(), list->palette().color(QPalette::PlaceholderText));
    QVERIFY(list->currentItem()->child(0)->foreground(0).style() == Qt::NoBrush);

    list->setFocus();
    for (const QString &step : steps) {
        QVERIFY(!editor.diaload().OKButton->isEnabled());
        // Typed right after opening, a name would join the one typed before.
        if (step == steps[0])
            QTest::keyClicks(list, step);
        else
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentItem()->text(0), step);
        if (byMouse) {
            const QPoint at = list->visualItemRect(list->currentItem()).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        } else
            QTest::keyClick(list, Qt::Key_Return);
        QVERIFY2(list->path().endsWith('/' + step), qPrintable(list->path()));
    }
    QVERIFY(editor.diaload().OKButton->isEnabled());
}

void TestFolderDialog::deepPathShowsEveryNameWhole_data() {
    QTest::addColumn<int>("pointSize");
    QTest::newRow("default font") << 0;
    QTest::newRow("14 pt") << 14;
}

void TestFolderDialog::deepPathShowsEveryNameWhole() {
    QFETCH(int, pointSize);
    QTemporaryDir dir;
    const QStringList levels = {"games",
                                "east asia",
                                "eastern front",
                                "europe",
                                "europe 1944",
                                "scenarios",
                                "user campaigns",
                                "mods",
                                "terrain packs",
                                "palettes",
                                "seasons and weather",
                                "winter",
                                "late winter 1944",
                                "europe"};
    QCOMPARE(levels.size(), 14);
    const QString deepest = QDir(dir.path()).canonicalPath() + '/' + levels.join('/');
    QVERIFY(QDir().mkpath(deepest));

    Diaload dialog;
    if (pointSize)
        dialog.setFont(QFont(dialog.font().family(), pointSize));
    DirectoryList *list = dialog.Dir1;
    list->setPath(deepest);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(list->geometry(), QRect(16, 40, 209, 156));
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);

    const int width = list->viewport()->width();
    int cutNames = 0;
    for (QTreeWidgetItem *item = list->currentItem(); item; item = item->parent()) {
        const QString name = item->text(0);
        const int needed = list->fontMetrics().horizontalAdvance(name) + 16;
        // Highlighted, it scrolls into view, whole where it fits, else from its start on
        // with the tooltip to give the rest.
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
            QVERIFY2(askToolTip(list, atStart.topLeft() + QPoint(2, 2)), qPrintable(name));
            QCOMPARE(QToolTip::text(), name);
        }
    }
    QVERIFY(cutNames > 0);
}

void TestFolderDialog::lostStartFolder_data() {
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("homeUsable");
    QTest::newRow("home folder") << "home" << true;
    QTest::newRow("home gone too") << "missing" << false;
    QTest::newRow("home relative") << "relative" << false;
    QTest::newRow("no home") << "" << false;
}

void TestFolderDialog::lostStartFolder() {
    QFETCH(QString, home);
    QFETCH(bool, homeUsable);
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    QVERIFY(QDir(top).mkpath("home") && QDir(top).mkpath("start"));
    QVERIFY(QDir::setCurrent(top + "/start") && QDir(top).rmdir("start"));
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME",
            home == "relative" || home.isEmpty() ? home.toUtf8() : (top + '/' + home).toUtf8());

    Editor editor;
    qputenv("HOME", savedHome);
    const QString expected = homeUsable ? top + '/' + home : QDir::rootPath();
    QCOMPARE(editor.diaload().Dir1->path(), expected);
    QCOMPARE(editor.diaload().Dir1->currentItem()->data(0, Qt::UserRole).toString(), expected);
    QVERIFY(expected.startsWith(editor.diaload().Drive1->drive()));
}

void TestFolderDialog::namesInTheUsersOrder_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected");
    const QStringList french = {"eau", "Été", "fer", "map2", "map10", "zone"};
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << french;
    QTest::newRow("C locale") << QLocale::c() << french;
    QTest::newRow("German ö with o") << QLocale(QLocale::German) << QStringList{"ol", "öl", "zu"};
    QTest::newRow("Swedish ö after z")
        << QLocale(QLocale::Swedish) << QStringList{"ol", "zu", "öl"};
    QTest::newRow("case breaks ties")
        << QLocale(QLocale::English) << QStringList{"map", "Maps", "maps", "MAPS2"};
}

void TestFolderDialog::namesInTheUsersOrder() {
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

void TestFolderDialog::driveListFollowsAMount() {
    if (geteuid() != 0)
        QSKIP("making a bind mount needs root");
    // A mount namespace of this process's own: the mount is gone with the process, whatever
    // happens, and no other program sees it.
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        QSKIP(qPrintable("no private mount namespace: " + QString::fromLocal8Bit(strerror(errno))));
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    QVERIFY(QDir(top).mkpath("outer/game disk") && QDir(top).mkpath("source/sub"));
    QVERIFY(writePalette(top + "/source/sub"));
    // The mount table writes the space as \040.
    const QString disk = top + "/outer/game disk";
    if (mount(qPrintable(top + "/source"), qPrintable(disk), nullptr, MS_BIND, nullptr) != 0)
        QSKIP(qPrintable("cannot bind-mount: " + QString::fromLocal8Bit(strerror(errno))));
    const auto unmount = qScopeGuard([&] { umount2(qPrintable(disk), MNT_DETACH); });
    const QString outerDrive = QStorageInfo(top + "/outer").rootPath();

    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    QVERIFY(dialog.Drive1->findData(disk) >= 0);
    QSignalSpy moves(dialog.Dir1, &DirectoryList::pathChanged);
    QSignalSpy drivePicks(dialog.Drive1, &DriveList::driveChanged);
    const auto go = [&](const QString &folder, const QString &drive, bool found) {
        dialog.Dir1->setFocus();
        dialog.Dir1->setCurrentItem(dialog.Dir1->findItems(
            QFileInfo(folder).fileName(), Qt::MatchExactly | Qt::MatchRecursive)[0]);
        QTest::keyClick(dialog.Dir1, Qt::Key_Return);
        QCOMPARE(dialog.Dir1->path(), folder);
        QCOMPARE(dialog.Drive1->drive(), drive);
        QCOMPARE(dialog.OKButton->isEnabled(), found);
    };
    dialog.Dir1->setPath(top + "/outer");
    QCOMPARE(dialog.Drive1->drive(), outerDrive);
    go(disk, disk, false);
    go(disk + "/sub", disk, true);
    go(top + "/outer", outerDrive, false);
    // Each move reached the folder list once and never came back from the drive list.
    QCOMPARE(moves.size(), 4);
    QCOMPARE(drivePicks.size(), 0);

    // Picking the mount again moves the folder list there.
    dialog.Drive1->setFocus();
    while (dialog.Drive1->drive() != disk && moves.size() < 20)
        QTest::keyClick(dialog.Drive1, Qt::Key_Down);
    QCOMPARE(dialog.Dir1->path(), disk);
    QCOMPARE(dialog.Drive1->drive(), disk);
}

void TestFolderDialog::unreadableFolderSaysSo_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("found");
    QTest::newRow("no rights") << 0000 << "cannot be opened: permission denied" << false;
    QTest::newRow("may pass, not list") << 0111 << "cannot be opened: permission denied" << true;
    QTest::newRow("gone") << -1 << "cannot be opened: not found" << false;
}

void TestFolderDialog::unreadableFolderSaysSo() {
    QFETCH(int, mode);
    QFETCH(QString, note);
    QFETCH(bool, found);
    if (mode >= 0 && rerunAsUnprivilegedUser())
        return;
    QTemporaryDir dir;
    const QString locked = QDir(dir.path()).canonicalPath() + "/locked";
    QVERIFY(QDir().mkpath(locked + "/inner") && writePalette(locked));
    if (mode < 0)
        QVERIFY(QDir(locked).removeRecursively());
    else
        QVERIFY(chmod(qPrintable(locked), mode_t(mode)) == 0);
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

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
