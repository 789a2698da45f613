#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QAccessible>
#include <QPainter>
#include <QTest>

namespace {

// L R U D arrows, S Space, N Return, K keypad Enter, T Tab, each to the control with the focus.
void pressKeys(const QString &script) {
    static const Qt::Key keys[] = {Qt::Key_Left,  Qt::Key_Right,  Qt::Key_Up,    Qt::Key_Down,
                                   Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab};
    for (const QChar key : script)
        QTest::keyClick(QApplication::focusWidget(), keys[QStringLiteral("LRUDSNKT").indexOf(key)],
                        key == u'K' ? Qt::KeypadModifier : Qt::NoModifier);
}

// A click or a double-click on an entry, through the window as the window system delivers it.
void pick(LoadedEditor &editor, int entry, bool twice = false) {
    const QPoint where = editor.pic()->mapTo(&editor.terrain(), centreOfEntry(entry));
    QTest::mouseEvent(twice ? QTest::MouseDClick : QTest::MouseClick,
                      editor.terrain().windowHandle(), Qt::LeftButton, {}, where);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void keyboardPath_data();
    void keyboardPath();
};

void TestKeyboard::keyboardPath_data() {
    QTest::addColumn<int>("grey"); // entry 18's colour, which the marker must stand out from
    QTest::addColumn<QString>("pickKey");
    QTest::newRow("black, Return") << 0 << "N";
    QTest::newRow("white, keypad Enter") << 255 << "K";
}

void TestKeyboard::keyboardPath() {
    QFETCH(int, grey);
    QFETCH(QString, pickKey);
    Palette palette = distinctPalette();
    setColour(palette, 18, grey, grey, grey);
    setColour(palette, 27, 68, 109, 44);
    setColour(palette, 28, 200, 0, 0);
    // Pick 18, raise its red thrice, Spread, pick 43: with clicks, and with double-clicks.
    LoadedEditor clicks, doubles;
    for (LoadedEditor *mouse : {&clicks, &doubles}) {
        QVERIFY(mouse->load(fileBytes(palette)));
        pick(*mouse, 18, mouse == &doubles);
        QCOMPARE(firstDifference(mouse->pic()->image(), expectedPicture(palette, {18})), QString());
        const QRect raise = barPart(mouse->terrain().v1, QStyle::SC_ScrollBarSubLine);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(mouse->terrain().v1, Qt::LeftButton, {}, raise.center());
        QTest::mouseClick(mouse->terrain().spr, Qt::LeftButton);
        pick(*mouse, 43, mouse == &doubles);
    }
    QCOMPARE(firstPaletteDifference(doubles.state().palette, clicks.state().palette), QString());
    QCOMPARE(firstDifference(doubles.pic()->image(), clicks.pic()->image()), QString());
    pick(doubles, 43); // a third click is a click again
    QVERIFY(doubles.state().anchorSet);

    LoadedEditor keys;
    QVERIFY(keys.load(fileBytes(palette)) && QTest::qWaitForWindowActive(&keys.terrain()));
    PaletteGrid *pic = keys.pic();
    // The focus shows, on the grid from the start; the grid's colours stay as drawn.
    QList<QImage> pictures;
    for (const char *name : {"pic", "v1", "v2", "v3", "sav", "ex"}) {
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
        const QImage window = keys.terrain().grab().toImage();
        QVERIFY2(!pictures.contains(window), name);
        QCOMPARE(firstDifference(window.copy(8, 8, 256, 256), expectedPicture(palette)), QString());
        pictures << window;
        pressKeys("T");
    }
    pic->clearFocus(); // Tab came back round to the grid; without the focus it looks different
    QVERIFY(!pictures.contains(keys.terrain().grab().toImage()));
    pic->setFocus();

    // From entry 1 (the first press moves) to entry 27, then 28, as assistive technology hears.
    pressKeys(QString(10, 'R') + "D");
    QCOMPARE(QAccessible::queryAccessibleInterface(pic)->text(QAccessible::Description),
             QStringLiteral("Entry 27, Grass Close, red 68, green 109, blue 44"));
    pressKeys("R");
    QCOMPARE(
        QAccessible::queryAccessibleInterface(keys.terrain().v1)->valueInterface()->currentValue(),
        200); // the bar's own value counts from the bottom
    for (const auto &[arrow, entry] : {std::pair{'L', 17}, {'U', 1}, {'R', 16}, {'D', 256}}) {
        pressKeys(QString(20, arrow)); // the edges stop them
        QCOMPARE(entryOfCell(pic->keyboardCell()), entry);
    }

    // The marker: on the screen only, inside the cell, clear of the outline of a selection.
    const QImage picture = expectedPicture(palette, {18});
    const QRect inside(17, 17, 14, 14);
    const auto verifyMarker = [&] {
        QImage screen = pic->grab().toImage();
        QVERIFY(!firstDifference(screen.copy(inside), picture.copy(inside)).isEmpty());
        QPainter(&screen).drawImage(inside, picture.copy(inside));
        QCOMPARE(firstDifference(screen, picture), QString());
        QCOMPARE(firstDifference(pic->image(), picture), QString());
    };
    const auto unmarked = [&] { return firstDifference(pic->grab().toImage(), picture); };
    pressKeys(QString(14, 'L') + QString(14, 'U') + "S"); // arrows and Space select entry 18
    verifyMarker();
    sendMove(pic, centreOfEntry(17)); // takes the keyboard along and hides the marker
    QCOMPARE(unmarked(), QString());
    pressKeys("R");
    verifyMarker();
    pressKeys("T"); // the focus leaves
    QCOMPARE(unmarked(), QString());

    // Up on the red bar, Space on Spread, round to the grid and on to entry 43: as the mouse.
    pressKeys("UUUTTTSTTT");
    const Palette beforeFill = keys.state().palette;
    pressKeys(QString(9, 'R') + "D" + pickKey);
    QCOMPARE(firstPaletteDifference(keys.state().palette, clicks.state().palette), QString());
    QCOMPARE(firstDifference(pic->image(), clicks.pic()->image()), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier); // the whole fill
    QCOMPARE(firstPaletteDifference(keys.state().palette, beforeFill), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(firstPaletteDifference(keys.state().palette, clicks.state().palette), QString());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
