#include "ColourText.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

Palette with(Palette palette, int entry, QRgb colour) {
    setColour(palette, entry, qRed(colour), qGreen(colour), qBlue(colour));
    return palette;
}

void point(LoadedEditor &editor, int entry, bool click = false) {
    sendMove(editor.pic(), centreOfEntry(entry));
    if (click)
        QTest::mouseClick(editor.pic(), Qt::LeftButton, {}, centreOfEntry(entry));
}

// Palette, grid (outline on the selected entry) and read-outs of entry `shown` as expected.
QString difference(LoadedEditor &editor, const Palette &palette, int shown) {
    const EditorState &s = editor.state();
    QString found =
        firstPaletteDifference(s.palette, palette) +
        firstDifference(editor.pic()->image(),
                        expectedPicture(palette, QList<int>(s.anchorSet, s.anchorIndex)));
    for (int c = 1; c <= 3; ++c)
        if (editor.terrain().channelText(c)->text().toInt() != palette[shown][c] ||
            editor.terrain().bar(c)->channelValue() != palette[shown][c])
            found += QStringLiteral(" channel %1 read-out").arg(c);
    return found;
}

} // namespace

class TestColours : public QObject {
    Q_OBJECT

private slots:
    void textForms_data();
    void textForms();
    void pasteKeyAndUndo();
    void menuOnUnselectedEntry();
    void dialog_data();
    void dialog();
    void copyKey();
};

void TestColours::textForms_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour"); // empty: no colour
    QTest::newRow("#rrggbb") << "#7a5c3e"
                             << "#7a5c3e";
    QTest::newRow("rrggbb, upper case, blanks") << " \t7A5C3E\n"
                                                << "#7a5c3e";
    QTest::newRow("#rgb") << "#a5F"
                          << "#aa55ff";
    QTest::newRow("rgb()") << "rgb(10, 20, 30)"
                           << "#0a141e";
    QTest::newRow("rgb() tight") << "RGB(0,255,7)"
                                 << "#00ff07";
    QTest::newRow("blanks") << "10 20  30"
                            << "#0a141e";
    QTest::newRow("commas") << "10,20,30"
                            << "#0a141e";
    QTest::newRow("both") << "255 ,0,\t7"
                          << "#ff0007";
    for (const char *none : {"", "grass", "red", "abc", "#7a5c", "#7a5c3", "#7a5c3e1", "#7a5c3e10",
                             "#7a5c3g", "10 20 256", "10 20", "10 20 30 40", "10,,20,30", "-1 0 0",
                             "1.5 2 3", "rgb(1, 2)", "rgb(1 2 3)", "#7a5c3e #000000"})
        QTest::newRow(none) << none << "";
}

void TestColours::textForms() {
    QFETCH(QString, text);
    QFETCH(QString, colour);
    const std::optional<QColor> read = colourOfText(text);
    QCOMPARE(read ? read->name() : QString(), colour);
}

void TestColours::pasteKeyAndUndo() {
    LoadedEditor editor;
    Palette palette = distinctPalette();
    QVERIFY(editor.load(fileBytes(palette)) && QTest::qWaitForWindowActive(&editor.terrain()));
    const auto raiseRed = [&] {
        QTest::mouseClick(editor.terrain().v1, Qt::LeftButton, {},
                          barPart(editor.terrain().v1, QStyle::SC_ScrollBarSubLine).center());
    };
    point(editor, 18, true);
    raiseRed();
    const Palette raised = editor.state().palette;
    QGuiApplication::clipboard()->setText(QStringLiteral(" 7A5C3E\n"));
    press(Qt::Key_V);
    const Palette pasted = with(palette, 18, 0x7a5c3e);
    QCOMPARE(difference(editor, pasted, 18), QString());
    press(Qt::Key_V); // the colour it has: no step
    raiseRed();       // a step of its own, not part of the first raise
    QCOMPARE(editor.terrain().history().stack().index(), 3);
    press(Qt::Key_Z);
    QCOMPARE(difference(editor, pasted, 18), QString());
    press(Qt::Key_Z);
    QCOMPARE(difference(editor, raised, 18), QString());
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(difference(editor, pasted, 18), QString());
    // Nothing selected: nothing to paste onto.
    point(editor, 18, true);
    QGuiApplication::clipboard()->setText(QStringLiteral("#000000"));
    press(Qt::Key_V);
    QCOMPARE(difference(editor, pasted, 18), QString());
    QCOMPARE(editor.terrain().history().stack().index(), 2);
}

void TestColours::menuOnUnselectedEntry() {
    LoadedEditor editor;
    const Palette palette = distinctPalette();
    QVERIFY(editor.load(fileBytes(palette)) && QTest::qWaitForWindowActive(&editor.terrain()));
    point(editor, 18, true);
    const auto menuOn = [&](int entry) {
        // Through the window, which turns the press into a context menu request.
        QTest::mouseClick(editor.terrain().windowHandle(), Qt::RightButton, {},
                          editor.pic()->mapTo(&editor.terrain(), centreOfEntry(entry)));
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };
    // Text that is no colour: Paste is greyed out.
    QGuiApplication::clipboard()->setText(QStringLiteral("grass"));
    QMenu *menu = menuOn(40);
    QVERIFY(menu);
    QCOMPARE(menu->actions().value(3)->text(), QStringLiteral("&Paste colour"));
    QVERIFY(!menu->actions().value(3)->isEnabled());
    QTest::keyClick(menu, Qt::Key_Escape);
    // The colour itself wins over the text beside it.
    auto *data = new QMimeData;
    data->setText(QStringLiteral("#ffffff"));
    data->setColorData(QColor(1, 2, 3));
    QGuiApplication::clipboard()->setMimeData(data);
    menu = menuOn(40);
    QVERIFY(menu);
    QCOMPARE(menu->actions().first()->text(),
             QStringLiteral("Entry 40 \u00b7 Grass Close \u00b7 ") +
                 QColor(qRgb(palette[40][1], palette[40][2], palette[40][3])).name());
    QVERIFY(!menu->actions().first()->isEnabled());
    QTest::keyClick(menu, Qt::Key_P);
    QVERIFY(!QApplication::activePopupWidget());
    // Entry 18 stays selected, outlined and read out.
    QVERIFY(editor.state().anchorSet && editor.state().anchorIndex == 18);
    const Palette pasted = with(palette, 40, 0x010203);
    QCOMPARE(difference(editor, pasted, 18), QString());
    press(Qt::Key_V); // the window's key, beside the menu's
    QCOMPARE(difference(editor, with(pasted, 18, 0x010203), 18), QString());
}

void TestColours::dialog_data() {
    QTest::addColumn<bool>("selected"); // the entry edited is the selected, outlined one
    QTest::addColumn<bool>("ok");
    QTest::newRow("selected, Menu key, OK") << true << true;
    QTest::newRow("selected, Menu key, Escape") << true << false;
    QTest::newRow("unselected, Shift+F10, OK") << false << true;
    QTest::newRow("unselected, Shift+F10, Escape") << false << false;
}

void TestColours::dialog() {
    QFETCH(bool, selected);
    QFETCH(bool, ok);
    LoadedEditor editor;
    const Palette palette = distinctPalette();
    QVERIFY(editor.load(fileBytes(palette)) && QTest::qWaitForWindowActive(&editor.terrain()));
    point(editor, 18, true);
    const int entry = selected ? 18 : 19;
    if (!selected)
        point(editor, 19); // the keyboard cell follows, the selection stays
    const QImage before = editor.pic()->grab().toImage();
    if (selected)
        press(Qt::Key_Menu, Qt::NoModifier);
    else
        press(Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E);
    auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(),
             QStringLiteral("Colour of entry %1 \u00b7 Dirt / Road Close").arg(entry));
    QTRY_COMPARE(QApplication::activeWindow(), dialog);
    QTest::keyClick(dialog, Qt::Key_H, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("#102030"));
    const Palette edited = with(palette, entry, 0x102030);
    // The cell shows the colour being picked, its outline kept; the palette is still as it was.
    QCOMPARE(firstDifference(editor.pic()->image(), expectedPicture(edited, {18})), QString());
    QCOMPARE(firstPaletteDifference(editor.state().palette, palette), QString());
    QTest::keyClick(QApplication::focusWidget(), ok ? Qt::Key_Return : Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(editor.terrain().history().stack().index(), ok ? 1 : 0);
    if (!ok)
        QCOMPARE(firstDifference(editor.pic()->grab().toImage(), before), QString());
    QCOMPARE(difference(editor, ok ? edited : palette, 18), QString());
}

void TestColours::copyKey() {
    LoadedEditor editor;
    const Palette palette = distinctPalette();
    QVERIFY(editor.load(fileBytes(palette)) && QTest::qWaitForWindowActive(&editor.terrain()));
    // Menu and dialog come on first use, not at start-up.
    QVERIFY(editor.terrain().findChildren<QMenu *>().isEmpty());
    QVERIFY(editor.terrain().findChildren<QColorDialog *>().isEmpty());
    // Nothing selected: the entry last read out. Then 30 selected, Spread armed and the pointer
    // recorded on 50.
    for (const int entry : {27, 30}) {
        point(editor, entry, entry == 30);
        if (entry == 30) {
            QTest::mouseClick(editor.terrain().spr, Qt::LeftButton);
            point(editor, 50);
        }
        press(Qt::Key_C);
        const QColor colour(qRgb(palette[entry][1], palette[entry][2], palette[entry][3]));
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), colour.name());
        QCOMPARE(qvariant_cast<QColor>(data->colorData()), colour);
    }
}

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
