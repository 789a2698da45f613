#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QAccessible>
#include <QTest>

#include <memory>

namespace {

// A key script: L R U D arrows, S Space, N Return, K keypad Enter, T Tab, B Shift+Tab; each
// key goes to whichever control has the focus, as the window system would send it.
void pressKeys(const QString &script) {
    static const QHash<QChar, std::pair<Qt::Key, Qt::KeyboardModifier>> keys{
        {u'L', {Qt::Key_Left, Qt::NoModifier}},      {u'R', {Qt::Key_Right, Qt::NoModifier}},
        {u'U', {Qt::Key_Up, Qt::NoModifier}},        {u'D', {Qt::Key_Down, Qt::NoModifier}},
        {u'S', {Qt::Key_Space, Qt::NoModifier}},     {u'N', {Qt::Key_Return, Qt::NoModifier}},
        {u'K', {Qt::Key_Enter, Qt::KeypadModifier}}, {u'T', {Qt::Key_Tab, Qt::NoModifier}},
        {u'B', {Qt::Key_Backtab, Qt::ShiftModifier}}};
    for (const QChar key : script)
        QTest::keyClick(QApplication::focusWidget(), keys[key].first, keys[key].second);
}

// The arrow presses that lead from one entry's cell to another's.
QString arrowsBetween(int from, int to) {
    const int columns = (to - 1) % 16 - (from - 1) % 16;
    const int rows = (to - 1) / 16 - (from - 1) / 16;
    return QString(std::abs(columns), QLatin1Char(columns < 0 ? 'L' : 'R')) +
           QString(std::abs(rows), QLatin1Char(rows < 0 ? 'U' : 'D'));
}

QImage shown(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void keyboardEditsAsTheMouseDoes_data();
    void keyboardEditsAsTheMouseDoes();
    void arrowsMoveOneCellAndStopAtEdges_data();
    void arrowsMoveOneCellAndStopAtEdges();
    void markerStaysOffThePicture_data();
    void markerStaysOffThePicture();
    void doubleClickIsOneClick_data();
    void doubleClickIsOneClick();
    void assistiveTechnologyHearsTheChannels();
    void focusShowsOnEveryControl();

private:
    LoadedEditor *start(const Palette &palette = distinctPalette());
    void clickAt(LoadedEditor &editor, int entry);

    std::unique_ptr<LoadedEditor> m_editor;
};

LoadedEditor *TestKeyboard::start(const Palette &palette) {
    m_editor = std::make_unique<LoadedEditor>();
    if (!m_editor->load(fileBytes(palette)) || !QTest::qWaitForWindowActive(&m_editor->terrain()))
        return nullptr;
    return m_editor.get();
}

void TestKeyboard::clickAt(LoadedEditor &editor, int entry) {
    sendMove(editor.pic(), centreOfEntry(entry));
    QTest::mouseClick(editor.pic(), Qt::LeftButton, {}, centreOfEntry(entry));
}

void TestKeyboard::keyboardEditsAsTheMouseDoes_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("redSteps");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("pickKey");

    QTest::newRow("down the grid, keypad Enter") << 18 << 3 << 43 << "K";
    QTest::newRow("up the grid, Return") << 200 << 5 << 35 << "N";
    QTest::newRow("top right, Space") << 16 << 1 << 256 << "S";
}

void TestKeyboard::keyboardEditsAsTheMouseDoes() {
    QFETCH(int, anchor);
    QFETCH(int, redSteps);
    QFETCH(int, target);
    QFETCH(QString, pickKey);

    // The mouse: hover and click the anchor, the red bar's top arrow, Spread, the target.
    LoadedEditor mouse;
    QVERIFY(mouse.load(fileBytes(distinctPalette())));
    clickAt(mouse, anchor);
    const QRect raise = barPart(mouse.terrain().v1, QStyle::SC_ScrollBarSubLine);
    for (int i = 0; i < redSteps; ++i)
        QTest::mouseClick(mouse.terrain().v1, Qt::LeftButton, {}, raise.center());
    QTest::mouseClick(mouse.terrain().spr, Qt::LeftButton);
    clickAt(mouse, target);

    // The keyboard: from entry 1 to the anchor, Space, Tab to the red bar, Up, Tab to Spread,
    // Space, Tab round to the grid, on to the target, pick.
    LoadedEditor *keys = start();
    QVERIFY(keys);
    QCOMPARE(QApplication::focusWidget(), keys->pic());
    pressKeys(arrowsBetween(1, anchor) + QStringLiteral("ST") +
              QString(redSteps, QLatin1Char('U')) + QStringLiteral("TTTSTTT"));
    QCOMPARE(QApplication::focusWidget(), keys->pic());
    const Palette beforeFill = keys->state().palette;
    pressKeys(arrowsBetween(anchor, target) + pickKey);

    QCOMPARE(firstPaletteDifference(keys->state().palette, mouse.state().palette), QString());
    QCOMPARE(firstDifference(keys->pic()->image(), mouse.pic()->image()), QString());
    QCOMPARE(keys->state().anchorSet, false);
    QCOMPARE(keys->state().targetIndex, target);
    QVERIFY(mouse.errors.isEmpty() && keys->errors.isEmpty());

    // The whole fill is one step back and forth, from the keyboard too.
    QVERIFY(!firstPaletteDifference(beforeFill, mouse.state().palette).isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(firstPaletteDifference(keys->state().palette, beforeFill), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(firstPaletteDifference(keys->state().palette, mouse.state().palette), QString());
}

void TestKeyboard::arrowsMoveOneCellAndStopAtEdges_data() {
    QTest::addColumn<int>("hovered"); // 0: the pointer never moved
    QTest::addColumn<bool>("select"); // the hovered entry, then the pointer moves 20 entries on
    QTest::addColumn<QString>("arrows");
    QTest::addColumn<int>("entry");

    const QString far(20, QLatin1Char('R'));
    const QString low(20, QLatin1Char('D'));
    QTest::newRow("the first press moves") << 0 << false << "R" << 2;
    QTest::newRow("left edge") << 0 << false << "L" << 1;
    QTest::newRow("top edge") << 0 << false << "UUL" << 1;
    QTest::newRow("right edge") << 0 << false << far << 16;
    QTest::newRow("bottom right corner") << 0 << false << far + low << 256;
    QTest::newRow("from the pointer") << 100 << false << "RU" << 85;
    QTest::newRow("pointer over a selection") << 100 << true << "L" << 119;
}

void TestKeyboard::arrowsMoveOneCellAndStopAtEdges() {
    QFETCH(int, hovered);
    QFETCH(bool, select);
    QFETCH(QString, arrows);
    QFETCH(int, entry);

    LoadedEditor *editor = start();
    QVERIFY(editor);
    const QPointF pointer = hovered ? centreOfEntry(hovered) + QPointF(0.25, -3.5) : QPointF();
    if (hovered)
        sendMove(editor->pic(), pointer);
    if (select) {
        pressKeys(QStringLiteral("S"));
        sendMove(editor->pic(), centreOfEntry(hovered + 20)); // not recorded
    }
    pressKeys(arrows);

    QCOMPARE(QApplication::focusWidget(), editor->pic());
    QCOMPARE(entryOfCell(editor->pic()->keyboardCell()), entry);
    // Selected, not armed: the keys move as the pointer does, and nothing is recorded.
    const int shownEntry = select ? hovered : entry;
    const EditorState &state = editor->state();
    QCOMPARE(QPointF(state.pointerX, state.pointerY),
             select ? pointer : QPointF(centreOfEntry(entry)));
    QCOMPARE(editor->terrain().t1->text(), QString::number(state.palette[shownEntry][redChannel]));
}

void TestKeyboard::markerStaysOffThePicture_data() {
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("black") << 0 << 0 << 0;
    QTest::newRow("white") << 255 << 255 << 255;
    QTest::newRow("mid grey") << 128 << 128 << 128;
}

void TestKeyboard::markerStaysOffThePicture() {
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);

    // Entry 18 is selected and outlined; the marker sits on it.
    Palette palette = distinctPalette();
    setColour(palette, 18, red, green, blue);
    LoadedEditor *editor = start(palette);
    QVERIFY(editor);
    PaletteGrid *pic = editor->pic();
    clickAt(*editor, 18);
    const QImage picture = expectedPicture(palette, {18});
    QCOMPARE(firstDifference(shown(pic), picture), QString()); // not before an arrow

    const auto verifyMarker = [&] {
        const QImage screen = shown(pic);
        int changed = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (screen.pixel(x, y) != picture.pixel(x, y)) {
                    // Inside entry 18's cell, clear of its outlined border.
                    QVERIFY2(x > 16 && x < 31 && y > 16 && y < 31,
                             qPrintable(QStringLiteral("marker at (%1, %2)").arg(x).arg(y)));
                    ++changed;
                }
        QVERIFY2(changed > 20, "no marker to be seen");
        QCOMPARE(firstDifference(pic->image(), picture), QString());
    };
    pressKeys(QStringLiteral("LR"));
    verifyMarker();

    sendMove(pic, {20, 20}); // the pointer takes over
    QCOMPARE(firstDifference(shown(pic), picture), QString());
    pressKeys(QStringLiteral("RL"));
    verifyMarker();

    pressKeys(QStringLiteral("T")); // the focus leaves
    QCOMPARE(firstDifference(shown(pic), picture), QString());
    pressKeys(QStringLiteral("B")); // and comes back, without the marker
    QCOMPARE(QApplication::focusWidget(), pic);
    QCOMPARE(firstDifference(shown(pic), picture), QString());
}

void TestKeyboard::doubleClickIsOneClick_data() {
    QTest::addColumn<bool>("secondPick");
    QTest::newRow("on an unselected colour") << false;
    QTest::newRow("as the second pick") << true;
}

void TestKeyboard::doubleClickIsOneClick() {
    QFETCH(bool, secondPick);

    // The same edit with single clicks, for comparison.
    LoadedEditor single;
    QVERIFY(single.load(fileBytes(distinctPalette())));
    if (secondPick) {
        clickAt(single, 20);
        QTest::mouseClick(single.terrain().spr, Qt::LeftButton);
    }
    clickAt(single, 70);

    LoadedEditor *editor = start();
    QVERIFY(editor);
    if (secondPick) {
        clickAt(*editor, 20);
        QTest::mouseClick(editor->terrain().spr, Qt::LeftButton);
    }
    // Through the window system's path: press, release, double-click, release.
    QWindow *window = editor->terrain().windowHandle();
    const QPoint where = editor->pic()->mapTo(&editor->terrain(), centreOfEntry(70));
    sendMove(editor->pic(), centreOfEntry(70));
    QTest::mouseDClick(window, Qt::LeftButton, {}, where);

    QCOMPARE(firstPaletteDifference(editor->state().palette, single.state().palette), QString());
    QCOMPARE(editor->state().anchorSet, !secondPick);
    QCOMPARE(firstDifference(editor->pic()->image(),
                             expectedPicture(single.state().palette,
                                             secondPick ? QList<int>{} : QList<int>{70})),
             QString());

    // A third click is a click again.
    QTest::mouseClick(window, Qt::LeftButton, {}, where);
    QCOMPARE(editor->state().anchorSet, secondPick);
}

void TestKeyboard::assistiveTechnologyHearsTheChannels() {
    Palette palette = distinctPalette();
    setColour(palette, 27, 68, 109, 44);
    LoadedEditor *editor = start(palette);
    QVERIFY(editor);
    Terrain &terrain = editor->terrain();
    const auto valueOf = [](QWidget *widget) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible && accessible->valueInterface()
                   ? accessible->valueInterface()->currentValue().toInt()
                   : -1;
    };
    const auto description = [&] {
        return QAccessible::queryAccessibleInterface(editor->pic())->text(QAccessible::Description);
    };

    pressKeys(arrowsBetween(1, 27));
    QCOMPARE(description(), QStringLiteral("Entry 27, Grass Close, red 68, green 109, blue 44"));
    QCOMPARE(valueOf(terrain.v1), 68);
    QCOMPARE(valueOf(terrain.v2), 109);
    QCOMPARE(valueOf(terrain.v3), 44);

    pressKeys(QStringLiteral("STUU")); // select, raise red twice
    QCOMPARE(valueOf(terrain.v1), 70);
    QCOMPARE(description(), QStringLiteral("Entry 27, Grass Close, red 70, green 109, blue 44"));
}

void TestKeyboard::focusShowsOnEveryControl() {
    LoadedEditor *editor = start();
    QVERIFY(editor);
    Terrain &terrain = editor->terrain();
    terrain.spr->setEnabled(true);
    // The grid from the start, then every control that Tab reaches.
    QList<QImage> pictures;
    for (const char *name : {"pic", "v1", "v2", "v3", "spr", "sav", "ex"}) {
        if (!pictures.isEmpty())
            pressKeys(QStringLiteral("T"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
        const QImage window = shown(&terrain);
        QVERIFY2(!pictures.contains(window), name);
        pictures << window;
        // The grid's colours stay as drawn, focus or not.
        QCOMPARE(firstDifference(window.copy(8, 8, 256, 256), editor->pic()->image()), QString());
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
