#include "Editor.h"
#include "LoadedEditor.h"
#include "PackedColour.h"
#include "ProgramEnd.h"

#include <QApplication>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString textOf(const QWidget *control) {
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    return QStringLiteral("(no text)");
}

QList<QWidget *> focusWalk(QWidget *window, Qt::Key key, int steps) {
    QList<QWidget *> visited;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, key);
        visited << QApplication::focusWidget();
    }
    return visited;
}

QStringList namesOf(const QList<QWidget *> &widgets) {
    QStringList names;
    for (const QWidget *widget : widgets)
        names << (widget ? widget->objectName() : QStringLiteral("(none)"));
    return names;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void captionsAndClientAreas();
    void dialogHasAFixedFrameAtItsPlace();
    void enlargingTheEditorLeavesControlsInPlace();
    void fontsAndAlignments();
    void gridDrawingAreaIsTheWhole256Pixels();
    void barsStartAtZeroWithThumbAtTheBottom();
    void dialogFocusStartsOnCancel();
    void editorTabOrder_data();
    void editorTabOrder();
    void neitherDialogButtonAnswersEnterOrEscape();

private:
    int m_endRequests = 0;
};

void TestWindows::init() {
    m_endRequests = 0;
    setProgramEnder([this] { ++m_endRequests; });
}

void TestWindows::controlsSitWhereTheLayoutPutsThem_data() {
    QTest::addColumn<bool>("inDialog");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown");

    const QString none = QStringLiteral("(no text)");
    const auto editor = [](const char *name) -> QTestData & {
        return QTest::newRow(name) << false << name;
    };
    editor("pic") << "PaletteGrid" << QRect(8, 8, 256, 256) << none << true << true;
    editor("v1") << "ChannelBar" << QRect(296, 24, 9, 177) << none << true << true;
    editor("t1") << "QLineEdit" << QRect(312, 88, 25, 19) << "255" << false << true;
    editor("t2") << "QLineEdit" << QRect(360, 88, 25, 19) << "255" << false << true;
    editor("v2") << "ChannelBar" << QRect(344, 24, 9, 177) << none << true << true;
    editor("t3") << "QLineEdit" << QRect(408, 88, 25, 19) << "255" << false << true;
    editor("v3") << "ChannelBar" << QRect(392, 24, 9, 177) << none << true << true;
    editor("Label1") << "QLabel" << QRect(296, 8, 33, 17) << "Red" << true << true;
    editor("Label2") << "QLabel" << QRect(344, 8, 33, 17) << "Green" << true << true;
    editor("Label3") << "QLabel" << QRect(392, 8, 33, 17) << "Blue" << true << true;
    editor("spr") << "QPushButton" << QRect(272, 240, 49, 25) << "Spread" << false << true;
    editor("doi") << "QPushButton" << QRect(424, 48, 9, 17) << "Command1" << false << false;
    editor("sav") << "QPushButton" << QRect(328, 240, 49, 25) << "Save" << true << true;
    editor("ex") << "QPushButton" << QRect(384, 240, 49, 25) << "Exit" << true << true;
    editor("ty") << "QLineEdit" << QRect(272, 208, 161, 25) << "" << false << true;

    const auto dialog = [](const char *name) -> QTestData & {
        return QTest::newRow(name) << true << name;
    };
    dialog("OKButton") << "QPushButton" << QRect(232, 8, 81, 25) << "OK" << false << true;
    dialog("CancelButton") << "QPushButton" << QRect(232, 40, 81, 25) << "Cancel" << true << true;
    dialog("Drive1") << "DriveList" << QRect(16, 8, 209, 21) << none << true << true;
    dialog("Dir1") << "DirectoryList" << QRect(16, 40, 209, 156) << none << true << true;
}

void TestWindows::controlsSitWhereTheLayoutPutsThem() {
    QFETCH(bool, inDialog);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    QFETCH(bool, shown);

    Editor editor;
    editor.formLoad();
    QWidget &window = inDialog ? static_cast<QWidget &>(editor.diaload()) : editor.terrain();
    // The editor is hidden after start-up; its layout must hold when it appears.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &window);
    QVERIFY2(control->inherits(qPrintable(kind)), control->metaObject()->className());
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(textOf(control), text);
    QCOMPARE(control->isEnabledTo(&window), enabled);
    QCOMPARE(!control->isHidden(), shown);
    if (auto *bar = qobject_cast<QScrollBar *>(control))
        QCOMPARE(bar->orientation(), Qt::Vertical);
}

void TestWindows::captionsAndClientAreas() {
    Editor editor;
    editor.formLoad();
    editor.terrain().show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor.terrain()));
    QCOMPARE(editor.terrain().windowTitle(), QStringLiteral("Terrain Palette Editor"));
    QCOMPARE(editor.terrain().size(), QSize(439, 272));
    QCOMPARE(editor.diaload().windowTitle(),
             QStringLiteral("Locate folder containing Europe.act file"));
    QCOMPARE(editor.diaload().size(), QSize(319, 199));
}

void TestWindows::dialogHasAFixedFrameAtItsPlace() {
    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.mapToGlobal(QPoint(0, 0)), QPoint(184, 250));
    QCOMPARE(dialog.minimumSize(), QSize(319, 199));
    QCOMPARE(dialog.maximumSize(), QSize(319, 199));
    dialog.resize(500, 400);
    QCOMPARE(dialog.size(), QSize(319, 199));

    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    // An ordinary window beside the editor, not one that blocks it.
    QCOMPARE(dialog.windowModality(), Qt::NonModal);
}

void TestWindows::enlargingTheEditorLeavesControlsInPlace() {
    Editor editor;
    Terrain &terrain = editor.terrain();
    terrain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terrain));
    QHash<QWidget *, QRect> before;
    for (QWidget *control : terrain.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        before.insert(control, control->geometry());
    QCOMPARE(before.size(), 15);

    terrain.resize(900, 700);
    QCOMPARE(terrain.size(), QSize(900, 700));
    QCoreApplication::processEvents();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(it.key()->geometry() == it.value(), qPrintable(it.key()->objectName()));
}

void TestWindows::fontsAndAlignments() {
    Editor editor;
    Terrain &terrain = editor.terrain();
    const QFont classFont = terrain.ty->font();
    QCOMPARE(classFont.family(), QStringLiteral("System"));
    QCOMPARE(classFont.weight(), QFont::Bold);
    QCOMPARE(classFont.pointSizeF(), 9.75);
    // Every other control keeps the toolkit's font.
    for (const QWidget *window :
         {static_cast<QWidget *>(&terrain), static_cast<QWidget *>(&editor.diaload())})
        for (const QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (control != terrain.ty)
                QVERIFY2(!control->testAttribute(Qt::WA_SetFont),
                         qPrintable(control->objectName()));

    for (const QLineEdit *box : {terrain.t1, terrain.t2, terrain.t3})
        QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(terrain.ty->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void TestWindows::gridDrawingAreaIsTheWhole256Pixels() {
    LoadedEditor opened;
    QVERIFY(opened.load(QByteArray(768, '\x40')));
    Terrain &terrain = opened.editor.terrain();
    QCOMPARE(terrain.pic->contentsRect(), QRect(0, 0, 256, 256));

    // Cells of distinct colours, one outlined: the window must show the picture whole, from its
    // first pixel to its last, at the grid's place.
    Palette palette{};
    for (int n = firstEntry; n <= lastEntry; ++n)
        palette[n][packedChannel] = packedColour(n - 1, 0, 255 - (n - 1));
    terrain.pic->redrawGrid(palette);
    terrain.pic->toggleHighlight(cellOfEntry(256));
    const QImage shown =
        terrain.grab(QRect(8, 8, 256, 256)).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, terrain.pic->image());
}

void TestWindows::barsStartAtZeroWithThumbAtTheBottom() {
    Editor editor;
    Terrain &terrain = editor.terrain();
    terrain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terrain));
    for (int channel = redChannel; channel <= blueChannel; ++channel) {
        ChannelBar *bar = terrain.bar(channel);
        QCOMPARE(bar->channelValue(), 0);
        QCOMPARE(terrain.channelText(channel)->text(), QStringLiteral("255"));
        const QRect groove = barPart(bar, QStyle::SC_ScrollBarGroove);
        QCOMPARE(barPart(bar, QStyle::SC_ScrollBarSlider).bottom(), groove.bottom());

        bar->setChannelValue(255);
        QCOMPARE(barPart(bar, QStyle::SC_ScrollBarSlider).top(), groove.top());
    }
}

void TestWindows::dialogFocusStartsOnCancel() {
    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.CancelButton);
    QCOMPARE(namesOf(focusWalk(&dialog, Qt::Key_Tab, 3)),
             QStringList({"Drive1", "Dir1", "CancelButton"}));

    // Once OK can be pressed it takes its place at the head of the order.
    dialog.OKButton->setEnabled(true);
    QCOMPARE(namesOf(focusWalk(&dialog, Qt::Key_Tab, 4)),
             QStringList({"Drive1", "Dir1", "OKButton", "CancelButton"}));
    QCOMPARE(namesOf(focusWalk(&dialog, Qt::Key_Backtab, 2)), QStringList({"OKButton", "Dir1"}));
}

void TestWindows::editorTabOrder_data() {
    QTest::addColumn<bool>("spreadEnabled");
    QTest::addColumn<QStringList>("forward");

    QTest::newRow("spr disabled") << false << QStringList{"v1", "v2", "v3", "sav", "ex", "pic"};
    QTest::newRow("spr enabled") << true
                                 << QStringList{"v1", "v2", "v3", "spr", "sav", "ex", "pic"};
}

void TestWindows::editorTabOrder() {
    QFETCH(bool, spreadEnabled);
    QFETCH(QStringList, forward);

    LoadedEditor opened;
    QVERIFY(opened.load(QByteArray(768, '\x40')));
    Terrain &terrain = opened.editor.terrain();
    // The editor was disabled while hidden; the focus still starts on the grid.
    QCOMPARE(QApplication::focusWidget(), terrain.pic);

    terrain.spr->setEnabled(spreadEnabled);
    QCOMPARE(namesOf(focusWalk(&terrain, Qt::Key_Tab, forward.size())), forward);

    QStringList backward(forward.crbegin() + 1, forward.crend());
    backward << QStringLiteral("pic");
    QCOMPARE(namesOf(focusWalk(&terrain, Qt::Key_Backtab, backward.size())), backward);
}

void TestWindows::neitherDialogButtonAnswersEnterOrEscape() {
    Editor editor;
    editor.formLoad();
    Diaload &dialog = editor.diaload();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (QPushButton *button : {dialog.OKButton, dialog.CancelButton}) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    QCOMPARE(QApplication::focusWidget(), dialog.CancelButton);
    QTest::keyClick(dialog.CancelButton, Qt::Key_Return);
    QTest::keyClick(dialog.CancelButton, Qt::Key_Enter);
    QTest::keyClick(dialog.CancelButton, Qt::Key_Escape);
    QCOMPARE(m_endRequests, 0);
    QVERIFY(dialog.isVisible());
    // Space is how the keyboard presses a button.
    QTest::keyClick(dialog.CancelButton, Qt::Key_Space);
    QCOMPARE(m_endRequests, 1);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
