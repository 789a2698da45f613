#include "Editor.h"
#include "LoadedEditor.h"
#include "PackedColour.h"
#include "ProgramEnd.h"
#include "TerrainClasses.h"
#include "UnprivilegedRun.h"
#include "UserMessages.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <unistd.h>

namespace {

// Every entry its own colour, channels all different, so a shifted or swapped byte shows.
QByteArray paletteFileBytes() {
    QByteArray bytes(768, '\0');
    for (int i = 0; i < 256; ++i) {
        bytes[3 * i] = static_cast<char>(i);
        bytes[3 * i + 1] = static_cast<char>(255 - i);
        bytes[3 * i + 2] = static_cast<char>((i * 37 + 11) % 256);
    }
    return bytes;
}

QString nativePaletteIn(const QString &folder) {
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + QLatin1String(paletteFileName));
}

// The entries the grid should show, cell by cell, as the file gives them.
QString gridDifference(const QImage &image, const QByteArray &bytes) {
    for (int y = 0; y < gridPixels; ++y)
        for (int x = 0; x < gridPixels; ++x) {
            const int at = 3 * (entryOfCell(cellOfPoint(x, y)) - 1);
            const QRgb expected =
                qRgb(quint8(bytes[at]), quint8(bytes[at + 1]), quint8(bytes[at + 2]));
            if (image.pixel(x, y) != expected)
                return QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
        }
    return {};
}

QTreeWidgetItem *itemOfPath(const DirectoryList *list, const QString &path) {
    for (QTreeWidgetItemIterator it(const_cast<DirectoryList *>(list)); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == path)
            return *it;
    return nullptr;
}

// Remembers the editor's picture at the moment the editor window is shown.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(Terrain &terrain) : m_terrain(terrain) {
        terrain.installEventFilter(this);
    }
    QImage atShow;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == &m_terrain && event->type() == QEvent::Show && atShow.isNull())
            atShow = m_terrain.pic->image();
        return false;
    }

private:
    Terrain &m_terrain;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void formLoadShowsOnlyTheDialog();
    void folderCheck_data();
    void folderCheck();
    void movingAwayDisablesOkAndBackSetsThePathAgain();
    void dirListShowsThePathAndSubfoldersInOrder();
    void dirListKeyboardNavigation();
    void dirListDoubleClickOpens();
    void driveChangeMovesTheListToItsRoot();
    void okLoadsAndShowsThePalette();
    void saveWritesTheLoadedFileBackByteForByte();
    void failedLoadKeepsTheDialogOpen_data();
    void failedLoadKeepsTheDialogOpen();
    void failedSaveKeepsEveryEdit();
    void endingTheProgram_data();
    void endingTheProgram();

private:
    // Selects entry 18 with the pointer and raises its red by one with the keyboard.
    void editEntry18(Editor &editor);

    QString m_startFolder;
    QStringList m_errors;
    int m_endRequests = 0;
};

void TestStartup::initTestCase() {
    m_startFolder = QDir::currentPath();
    setErrorReporter([this](QWidget *, const QString &text) { m_errors << text; });
    setProgramEnder([this] { ++m_endRequests; });
    // Every question is answered Save, as by a user who wants the editor's palette kept.
    setAsker([](QWidget *, const Question &) { return Answer::save; });
}

void TestStartup::init() {
    m_errors.clear();
    m_endRequests = 0;
    QDir::setCurrent(m_startFolder);
}

void TestStartup::cleanupTestCase() {
    QDir::setCurrent(m_startFolder);
    setErrorReporter({});
    setProgramEnder({});
}

void TestStartup::editEntry18(Editor &editor) {
    Terrain &terrain = editor.terrain();
    const int redBefore = editor.state().palette[18][redChannel];
    QVERIFY(redBefore < 255);
    // A move to where the pointer already is raises no event, so it comes from elsewhere.
    QTest::mouseMove(terrain.pic, QPoint(100, 100));
    QTest::mouseMove(terrain.pic, QPoint(20, 20));
    QTest::mouseClick(terrain.pic, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(editor.state().anchorSet);
    QCOMPARE(editor.state().anchorIndex, 18);
    terrain.v1->setFocus();
    QTest::keyClick(terrain.v1, Qt::Key_Up);
    QCOMPARE(editor.state().palette[18][redChannel], redBefore + 1);
}

void TestStartup::formLoadShowsOnlyTheDialog() {
    // The process starts in a folder that already holds a palette.
    QTemporaryDir start;
    QVERIFY(writeFile(start.filePath(paletteFileName), paletteFileBytes()));
    QDir::setCurrent(start.path());

    Editor editor;
    editor.formLoad();
    QVERIFY(editor.diaload().isVisible());
    QVERIFY(editor.diaload().isEnabled());
    QVERIFY(!editor.terrain().isVisible());
    QVERIFY(!editor.terrain().isEnabled());
    TerrainNames filled{};
    fillTerrainNames(filled);
    QVERIFY(editor.state().terrainNames == filled);

    // The list starts where the process is, but nothing was checked yet.
    QCOMPARE(editor.diaload().Dir1->path(), QDir(start.path()).canonicalPath());
    QVERIFY(!editor.diaload().OKButton->isEnabled());
    QCOMPARE(editor.state().paletteFilePath, QString());
    QVERIFY(QTest::qWaitForWindowExposed(&editor.diaload()));
    QVERIFY(!editor.diaload().OKButton->isEnabled());
}

void TestStartup::folderCheck_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("found");

    QTest::newRow("palette file") << "file" << true;
    QTest::newRow("short file still counts") << "short" << true;
    QTest::newRow("link to a palette") << "link" << true;
    QTest::newRow("no file") << "none" << false;
    QTest::newRow("folder named europe.act") << "folder" << false;
    QTest::newRow("dangling link") << "dangling" << false;
    QTest::newRow("other letter case") << "case" << false;
}

void TestStartup::folderCheck() {
    QFETCH(QString, content);
    QFETCH(bool, found);

    QTemporaryDir dir;
    const QString target = dir.filePath(paletteFileName);
    if (content == QLatin1String("file"))
        QVERIFY(writeFile(target, paletteFileBytes()));
    else if (content == QLatin1String("short"))
        QVERIFY(writeFile(target, QByteArray(100, 'x')));
    else if (content == QLatin1String("link")) {
        QVERIFY(writeFile(dir.filePath("elsewhere.act"), paletteFileBytes()));
        QVERIFY(QFile::link(dir.filePath("elsewhere.act"), target));
    } else if (content == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(paletteFileName));
    else if (content == QLatin1String("dangling"))
        QVERIFY(QFile::link(dir.filePath("gone.act"), target));
    else if (content == QLatin1String("case"))
        QVERIFY(writeFile(dir.filePath("EUROPE.ACT"), paletteFileBytes()));

    Editor editor;
    editor.formLoad();
    editor.diaload().Dir1->setPath(dir.path());
    QCOMPARE(editor.state().candidatePath, nativePaletteIn(dir.path()));
    QCOMPARE(editor.diaload().OKButton->isEnabled(), found);
    QCOMPARE(editor.state().paletteFilePath, found ? nativePaletteIn(dir.path()) : QString());
    QVERIFY(m_errors.isEmpty());
}

void TestStartup::movingAwayDisablesOkAndBackSetsThePathAgain() {
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const char *name : {"a", "b", "c"})
        QVERIFY(root.mkdir(name));
    QVERIFY(writeFile(dir.filePath("a/europe.act"), paletteFileBytes()));
    QVERIFY(writeFile(dir.filePath("c/europe.act"), paletteFileBytes()));

    Editor editor;
    editor.formLoad();
    const auto visit = [&](const char *name, bool enabled, const char *pathOf) {
        editor.diaload().Dir1->setPath(dir.filePath(name));
        QCOMPARE(editor.diaload().OKButton->isEnabled(), enabled);
        QCOMPARE(editor.state().candidatePath, nativePaletteIn(dir.filePath(name)));
        QCOMPARE(editor.state().paletteFilePath, nativePaletteIn(dir.filePath(pathOf)));
    };
    visit("a", true, "a");
    visit("b", false, "a");
    visit("c", true, "c");
    visit("b", false, "c");
    visit("a", true, "a");
}

void TestStartup::dirListShowsThePathAndSubfoldersInOrder() {
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    for (const char *name : {"gamma", "Beta", "alpha", "gamma/inner"})
        QVERIFY(QDir(top).mkpath(name));
    QVERIFY(writeFile(top + "/zfile", "x"));

    DirectoryList list;
    list.setPath(top);
    QCOMPARE(list.path(), top);
    // One chain from the root down to the folder shown, which is the highlighted item.
    QCOMPARE(list.topLevelItemCount(), 1);
    QTreeWidgetItem *item = list.topLevelItem(0);
    QCOMPARE(item->data(0, Qt::UserRole).toString(), QDir::rootPath());
    QStringList chain;
    while (item->data(0, Qt::UserRole).toString() != top) {
        QCOMPARE(item->childCount(), 1);
        item = item->child(0);
        chain << item->text(0);
    }
    QCOMPARE(chain, top.split(QLatin1Char('/'), Qt::SkipEmptyParts));
    QCOMPARE(list.currentItem(), item);
    QStringList subfolders;
    for (int i = 0; i < item->childCount(); ++i)
        subfolders << item->child(i)->text(0);
    QCOMPARE(subfolders, QStringList({"alpha", "Beta", "gamma"}));
}

void TestStartup::dirListKeyboardNavigation() {
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    for (const char *name : {"alpha", "Beta", "gamma", "gamma/inner"})
        QVERIFY(QDir(top).mkpath(name));
    QVERIFY(writeFile(top + "/gamma/europe.act", paletteFileBytes()));

    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    DirectoryList *list = dialog.Dir1;
    list->setPath(top);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // From Cancel, where the focus starts, past the drive list.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);

    const auto highlighted = [list] { return list->currentItem()->text(0); };
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(highlighted(), QStringLiteral("alpha"));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(highlighted(), QStringLiteral("Beta"));
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(highlighted(), QStringLiteral("alpha"));
    // Moving the highlight opens nothing.
    QCOMPARE(list->path(), top);
    QVERIFY(!dialog.OKButton->isEnabled());

    QTest::keyClicks(list, QStringLiteral("gam"));
    QCOMPARE(highlighted(), QStringLiteral("gamma"));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(list->path(), top + "/gamma");
    QVERIFY(dialog.OKButton->isEnabled());
    QCOMPARE(editor.state().paletteFilePath, nativePaletteIn(top + "/gamma"));
    QCOMPARE(highlighted(), QStringLiteral("gamma"));

    // Up from the open folder reaches its parent; Enter opens it and the check runs again.
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentItem()->data(0, Qt::UserRole).toString(), top);
    QTest::keyClick(list, Qt::Key_Enter);
    QTRY_COMPARE(list->path(), top);
    QVERIFY(!dialog.OKButton->isEnabled());
    QCOMPARE(editor.state().candidatePath, nativePaletteIn(top));
    QVERIFY(dialog.isVisible());
}

void TestStartup::dirListDoubleClickOpens() {
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    for (const char *name : {"alpha", "Beta"})
        QVERIFY(QDir(top).mkpath(name));
    QVERIFY(writeFile(top + "/Beta/europe.act", paletteFileBytes()));

    Editor editor;
    editor.formLoad();
    DirectoryList *list = editor.diaload().Dir1;
    list->setPath(top);
    QVERIFY(QTest::qWaitForWindowExposed(&editor.diaload()));

    QTreeWidgetItem *beta = itemOfPath(list, top + "/Beta");
    QVERIFY(beta);
    const QPoint at = list->visualItemRect(beta).center();
    // A single click only highlights.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list->currentItem(), beta);
    QCOMPARE(list->path(), top);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(list->path(), top + "/Beta");
    QVERIFY(editor.diaload().OKButton->isEnabled());
    QCOMPARE(editor.state().paletteFilePath, nativePaletteIn(top + "/Beta"));
}

void TestStartup::driveChangeMovesTheListToItsRoot() {
    // A drive of our own whose root holds a palette, placed last in the list.
    QTemporaryDir drive;
    const QString root = QDir(drive.path()).canonicalPath();
    QVERIFY(writeFile(root + "/europe.act", paletteFileBytes()));

    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    // The file system root is always offered, and the list starts on the current folder's drive.
    QVERIFY(dialog.Drive1->findData(QDir::rootPath()) >= 0);
    for (const char *system : {"/proc", "/sys", "/dev"}) // the kernel's own, nothing of the user's
        QCOMPARE(dialog.Drive1->findData(QLatin1String(system)), -1);
    QVERIFY2(QDir::currentPath().startsWith(dialog.Drive1->drive()),
             qPrintable(dialog.Drive1->drive()));
    dialog.Drive1->addItem(QStringLiteral("test drive"), root);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialog.Drive1);

    QTest::keyClick(dialog.Drive1, Qt::Key_End);
    QCOMPARE(dialog.Drive1->drive(), root);
    QCOMPARE(dialog.Dir1->path(), root);
    // The list's change ran the folder check on the new drive.
    QVERIFY(dialog.OKButton->isEnabled());
    QCOMPARE(editor.state().paletteFilePath, nativePaletteIn(root));

    QTest::keyClick(dialog.Drive1, Qt::Key_Home);
    QCOMPARE(dialog.Dir1->path(), dialog.Drive1->drive());
    QVERIFY(QDir(dialog.Dir1->path()).isRoot());
    QCOMPARE(editor.state().candidatePath,
             QDir::toNativeSeparators(QDir::rootPath() + QLatin1String(paletteFileName)));
}

void TestStartup::okLoadsAndShowsThePalette() {
    QTemporaryDir dir;
    const QByteArray bytes = paletteFileBytes();
    QVERIFY(writeFile(dir.filePath(paletteFileName), bytes));

    Editor editor;
    ShowWatcher watcher(editor.terrain());
    QVERIFY(openThroughDialog(editor, dir.path()));
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(m_endRequests, 0);

    QVERIFY(editor.terrain().isVisible());
    QVERIFY(editor.terrain().isEnabled());
    QVERIFY(!editor.diaload().isVisible());
    QVERIFY(editor.diaload().isEnabled());

    const EditorState &state = editor.state();
    for (int n = firstEntry; n <= lastEntry; ++n) {
        const int at = 3 * (n - 1);
        QCOMPARE(state.palette[n][redChannel], int(quint8(bytes[at])));
        QCOMPARE(state.palette[n][greenChannel], int(quint8(bytes[at + 1])));
        QCOMPARE(state.palette[n][blueChannel], int(quint8(bytes[at + 2])));
    }
    QVERIFY(!state.anchorSet);
    QCOMPARE(state.spreadArmed, armedFalse);

    // Every cell in its colour and none outlined, already when the window appeared.
    QCOMPARE(gridDifference(editor.terrain().pic->image(), bytes), QString());
    QCOMPARE(gridDifference(watcher.atShow, bytes), QString());
    const QImage shown = editor.terrain()
                             .grab(QRect(8, 8, gridPixels, gridPixels))
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(gridDifference(shown, bytes), QString());
}

void TestStartup::saveWritesTheLoadedFileBackByteForByte() {
    QTemporaryDir dir;
    const QString path = dir.filePath(paletteFileName);
    const QByteArray bytes = paletteFileBytes();
    QVERIFY(writeFile(path, bytes));

    Editor editor;
    QVERIFY(openThroughDialog(editor, dir.path()));
    // Something else spoils the file after loading; Save must write the palette, not skip.
    QVERIFY(writeFile(path, QByteArray(768, '\0')));
    QTest::mouseClick(editor.terrain().sav, Qt::LeftButton);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(readFile(path), bytes);
    QVERIFY(editor.terrain().isVisible());
    QCOMPARE(m_endRequests, 0);
}

void TestStartup::failedLoadKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("removed after the check") << "remove";
    QTest::newRow("shorter than a palette") << "short";
    QTest::newRow("replaced by a folder") << "folder";
    QTest::newRow("unreadable") << "unreadable";
}

void TestStartup::failedLoadKeepsTheDialogOpen() {
    QFETCH(QString, damage);
    if (damage == QLatin1String("unreadable") && rerunAsUnprivilegedUser())
        return;

    QTemporaryDir dir;
    const QString path = dir.filePath(paletteFileName);
    QVERIFY(writeFile(path, damage == QLatin1String("short") ? QByteArray(500, 'x')
                                                             : paletteFileBytes()));
    Editor editor;
    editor.formLoad();
    editor.diaload().Dir1->setPath(dir.path());
    QVERIFY(editor.diaload().OKButton->isEnabled());
    if (damage == QLatin1String("remove") || damage == QLatin1String("folder"))
        QVERIFY(QFile::remove(path));
    if (damage == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(paletteFileName));
    if (damage == QLatin1String("unreadable"))
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));

    QTest::mouseClick(editor.diaload().OKButton, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(QDir::toNativeSeparators(path)), qPrintable(m_errors[0]));
    QCOMPARE(m_endRequests, 0);
    QVERIFY(editor.diaload().isVisible());
    QVERIFY(editor.diaload().isEnabled());
    QVERIFY(!editor.terrain().isVisible());
    QVERIFY(!editor.terrain().isEnabled());
    for (int n = firstEntry; n <= lastEntry; ++n)
        QCOMPARE(editor.state().palette[n][packedChannel], 0);

    // The user mends the folder and tries again.
    QDir(path).removeRecursively();
    QFile::remove(path);
    QVERIFY(writeFile(path, paletteFileBytes()));
    QTest::mouseClick(editor.diaload().OKButton, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(editor.terrain().isVisible());
    QVERIFY(!editor.diaload().isVisible());
    QCOMPARE(gridDifference(editor.terrain().pic->image(), paletteFileBytes()), QString());
}

void TestStartup::failedSaveKeepsEveryEdit() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("palettes");
    QVERIFY(QDir(dir.path()).mkdir("palettes"));
    const QString path = folder + "/europe.act";
    QVERIFY(writeFile(path, paletteFileBytes()));

    Editor editor;
    QVERIFY(openThroughDialog(editor, folder));
    editEntry18(editor);
    const Palette edited = editor.state().palette;

    QVERIFY(QDir(folder).removeRecursively());
    QTest::mouseClick(editor.terrain().sav, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(QDir::toNativeSeparators(path)), qPrintable(m_errors[0]));
    QCOMPARE(m_endRequests, 0);
    QVERIFY(editor.state().palette == edited);
    QVERIFY(editor.terrain().isVisible());
    QVERIFY(editor.terrain().isEnabled());
    QVERIFY(editor.state().anchorSet);

    // With the folder back, the same Save writes the edit.
    QVERIFY(QDir(dir.path()).mkdir("palettes"));
    QTest::mouseClick(editor.terrain().sav, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QByteArray expected = paletteFileBytes();
    expected[3 * 17] = static_cast<char>(quint8(expected[3 * 17]) + 1);
    QCOMPARE(readFile(path), expected);
}

void TestStartup::endingTheProgram_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("dialog close box") << "dialog close";
    QTest::newRow("Exit after an edit") << "exit";
    QTest::newRow("editor close box, nothing edited") << "editor close";
}

void TestStartup::endingTheProgram() {
    QFETCH(QString, how);

    QTemporaryDir dir;
    const QString path = dir.filePath(paletteFileName);
    QVERIFY(writeFile(path, paletteFileBytes()));
    Editor editor;
    if (how.startsWith(QLatin1String("editor")) || how == QLatin1String("exit")) {
        QVERIFY(openThroughDialog(editor, dir.path()));
        if (how == QLatin1String("exit"))
            editEntry18(editor);
    } else {
        editor.formLoad();
        editor.diaload().Dir1->setPath(dir.path());
        QVERIFY(QTest::qWaitForWindowExposed(&editor.diaload()));
    }
    QCOMPARE(m_endRequests, 0);

    if (how == QLatin1String("cancel"))
        QTest::mouseClick(editor.diaload().CancelButton, Qt::LeftButton);
    else if (how == QLatin1String("exit"))
        QTest::mouseClick(editor.terrain().ex, Qt::LeftButton);
    else {
        // The way the window system's close box arrives.
        QWidget &window = how.startsWith(QLatin1String("dialog"))
                              ? static_cast<QWidget &>(editor.diaload())
                              : editor.terrain();
        QVERIFY(window.windowHandle());
        window.windowHandle()->close();
    }
    QCOMPARE(m_endRequests, 1);
    QVERIFY(m_errors.isEmpty());
    // Nothing is saved on the way out.
    QCOMPARE(readFile(path), paletteFileBytes());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
