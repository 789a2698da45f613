#include "GradientModel.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The palette most tests start from: entry 40 (a "Grass Close" entry) holds (12, 200, 7) and
// entry 18 holds (10, 20, 30).
Palette startPalette() {
    Palette palette = distinctPalette();
    setColour(palette, 40, 12, 200, 7);
    setColour(palette, 18, 10, 20, 30);
    return palette;
}

int entryOfPoint(float x, float y) {
    return static_cast<int>(std::floor(x / 16)) + 16 * static_cast<int>(std::floor(y / 16)) + 1;
}

// The outlined cells after a number of toggles: each entry toggled an odd number of times.
QList<int> oddOnes(const QList<int> &toggles) {
    QList<int> result;
    for (int n : toggles)
        if (toggles.count(n) % 2 == 1 && !result.contains(n))
            result.append(n);
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Rgb)

class TestEditCycle : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void hoverShowsTheEntryInOrder();
    void hoverMapsPositionsToEntries_data();
    void hoverMapsPositionsToEntries();
    void hoverWhileSelectedChangesNothing();
    void firstClickAfterStartUpSelects();
    void selectionStates_data();
    void selectionStates();

    void changeWritesTheSelectedEntryAndItsCell();
    void barSteps_data();
    void barSteps();
    void thumbDragChangesThePaletteOnceAtRelease_data();
    void thumbDragChangesThePaletteOnceAtRelease();
    void barEnds_data();
    void barEnds();
    void severalChangesLeaveOneOutline();

    void spreadFillsThroughTheGrid_data();
    void spreadFillsThroughTheGrid();

    void dragOutOfTheGridAndBack_data();
    void dragOutOfTheGridAndBack();
    void positionsOutsideTheGridAreIgnored();

private:
    bool start(const Palette &palette = startPalette());
    void hover(int entry);
    void clickGrid();
    void pressSpread();
    void runScript(const QString &script);
    void verifyReadout(int entry);
    void verifyPicture(const Palette &palette, const QList<int> &outlined);

    std::unique_ptr<LoadedEditor> m_editor;
    Palette m_loaded{};
    QPoint m_pointer;
};

bool TestEditCycle::start(const Palette &palette) {
    m_editor = std::make_unique<LoadedEditor>();
    m_loaded = palette;
    m_pointer = {};
    return m_editor->load(fileBytes(palette)) &&
           firstPaletteDifference(m_editor->state().palette, palette).isEmpty();
}

void TestEditCycle::cleanup() { m_editor.reset(); }

// Moves the pointer onto an entry's cell through the window system. A move to where the
// pointer already is would be dropped, so it first steps aside within the same cell.
void TestEditCycle::hover(int entry) {
    PaletteGrid *pic = m_editor->pic();
    const QPoint target = centreOfEntry(entry);
    if (QCursor::pos() == pic->mapToGlobal(target))
        QTest::mouseMove(pic, target + QPoint(1, 0));
    QTest::mouseMove(pic, target);
    m_pointer = target;
}

// A left click on the grid where the pointer is.
void TestEditCycle::clickGrid() {
    QTest::mouseClick(m_editor->pic(), Qt::LeftButton, {}, m_pointer);
}

void TestEditCycle::pressSpread() { QTest::mouseClick(m_editor->terrain().spr, Qt::LeftButton); }

// "m40" moves onto entry 40, "c" clicks where the pointer is, "C40" clicks at entry 40's cell
// without a move before it, "s" presses Spread.
void TestEditCycle::runScript(const QString &script) {
    for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int entry = step.mid(1).toInt();
        switch (step.at(0).toLatin1()) {
        case 'm':
            hover(entry);
            break;
        case 'c':
            clickGrid();
            break;
        case 'C':
            QTest::mouseClick(m_editor->pic(), Qt::LeftButton, {}, centreOfEntry(entry));
            break;
        case 's':
            pressSpread();
            break;
        default:
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
}

void TestEditCycle::verifyReadout(int entry) {
    const Terrain &terrain = m_editor->terrain();
    const auto &row = m_editor->state().palette[entry];
    for (int c = 1; c <= 3; ++c) {
        QCOMPARE(terrain.bar(c)->channelValue(), row[c]);
        QCOMPARE(terrain.channelText(c)->text(), QString::number(row[c]));
    }
    QCOMPARE(terrain.ty->text(), className(entry));
}

void TestEditCycle::verifyPicture(const Palette &palette, const QList<int> &outlined) {
    const QString difference =
        firstDifference(m_editor->pic()->image(), expectedPicture(palette, outlined));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// --- Hover and selection ---------------------------------------------------------------------

void TestEditCycle::hoverShowsTheEntryInOrder() {
    QVERIFY(start());
    Terrain &terrain = m_editor->terrain();
    QStringList order;
    for (int c = 1; c <= 3; ++c) {
        const QString number = QString::number(c);
        connect(terrain.bar(c), &QScrollBar::valueChanged, &terrain,
                [&order, number] { order << QStringLiteral("v") + number; });
        connect(terrain.channelText(c), &QLineEdit::textChanged, &terrain,
                [&order, number] { order << QStringLiteral("t") + number; });
    }
    connect(terrain.ty, &QLineEdit::textChanged, &terrain, [&order] { order << "ty"; });

    hover(40);

    QCOMPARE(terrain.v1->channelValue(), 12);
    QCOMPARE(terrain.v2->channelValue(), 200);
    QCOMPARE(terrain.v3->channelValue(), 7);
    QCOMPARE(terrain.t1->text(), QStringLiteral("12"));
    QCOMPARE(terrain.t2->text(), QStringLiteral("200"));
    QCOMPARE(terrain.t3->text(), QStringLiteral("7"));
    QCOMPARE(terrain.ty->text(), QStringLiteral("Grass Close"));
    QCOMPARE(order, (QStringList{"v1", "t1", "v2", "t2", "v3", "t3", "ty"}));
    QCOMPARE(m_editor->state().pointerX, 120.0f);
    QCOMPARE(m_editor->state().pointerY, 40.0f);
    // The bars' change handlers ran and found nothing selected.
    QVERIFY(!m_editor->state().anchorSet);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, m_loaded), QString());
    verifyPicture(m_loaded, {});
}

void TestEditCycle::hoverMapsPositionsToEntries_data() {
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<int>("entry");
    QTest::newRow("(0, 0) entry 1") << QPointF(0, 0) << 1;
    QTest::newRow("(31.9, 0.5) entry 2") << QPointF(31.9, 0.5) << 2;
    QTest::newRow("(0, 16) entry 17") << QPointF(0, 16) << 17;
    QTest::newRow("(255.5, 255.5) entry 256") << QPointF(255.5, 255.5) << 256;
    QTest::newRow("last of Dirt / Road Close") << QPointF(9 * 16 + 3, 16 + 3) << 26;
    QTest::newRow("first of Grass Close") << QPointF(10 * 16 + 3, 16 + 3) << 27;
    QTest::newRow("last of Sand Far") << QPointF(8 * 16, 6 * 16) << 105;
    QTest::newRow("first Unknown") << QPointF(9 * 16, 6 * 16) << 106;
}

void TestEditCycle::hoverMapsPositionsToEntries() {
    QFETCH(QPointF, position);
    QFETCH(int, entry);
    QVERIFY(start());
    // A different entry first, so that every read-out has to change.
    hover(entry == 100 ? 101 : 100);

    sendMove(m_editor->pic(), position);

    // Recorded as delivered, fraction and all.
    QCOMPARE(m_editor->state().pointerX, static_cast<float>(position.x()));
    QCOMPARE(m_editor->state().pointerY, static_cast<float>(position.y()));
    verifyReadout(entry);
}

void TestEditCycle::hoverWhileSelectedChangesNothing() {
    QVERIFY(start());
    hover(40);
    clickGrid();
    const EditorState &state = m_editor->state();
    QVERIFY(state.anchorSet);
    QCOMPARE(state.anchorIndex, 40);

    hover(100);
    sendMove(m_editor->pic(), QPointF(200.5, 3.25));
    QTest::mouseMove(m_editor->pic(), QPoint(255, 255));

    verifyReadout(40);
    QCOMPARE(state.pointerX, 120.0f);
    QCOMPARE(state.pointerY, 40.0f);
    QCOMPARE(state.anchorIndex, 40);
    QVERIFY(state.anchorSet);
    verifyPicture(m_loaded, {40});
}

void TestEditCycle::firstClickAfterStartUpSelects() {
    QVERIFY(start());
    // No pointer position has been recorded, so the click falls on entry 1, wherever it is.
    QTest::mouseClick(m_editor->pic(), Qt::LeftButton, {}, centreOfEntry(100));

    const EditorState &state = m_editor->state();
    QVERIFY(state.anchorSet);
    QCOMPARE(state.anchorIndex, 1);
    QVERIFY(m_editor->terrain().spr->isEnabled());
    verifyPicture(m_loaded, {1});
}

void TestEditCycle::selectionStates_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("anchorSet");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<int>("anchor");   // 0: not checked
    QTest::addColumn<int>("recorded"); // the entry under the recorded position
    QTest::addColumn<int>("readout");  // 0: not checked
    QTest::addColumn<bool>("sprEnabled");
    // Entries outlined by the script (each toggle listed), after the last fill if there was one.
    QTest::addColumn<QList<int>>("toggles");
    QTest::addColumn<int>("fillFrom"); // 0: no fill
    QTest::addColumn<int>("fillTo");

    const QList<int> none;
    QTest::newRow("nothing selected: movement shows and records")
        << "m40" << false << false << 0 << 40 << 40 << false << none << 0 << 0;
    QTest::newRow("nothing selected: a click selects")
        << "m40 c" << true << false << 40 << 40 << 40 << true << QList<int>{40} << 0 << 0;
    QTest::newRow("first click without a move selects entry 1")
        << "C100" << true << false << 1 << 1 << 0 << true << QList<int>{1} << 0 << 0;
    QTest::newRow("Spread is disabled before the first selection")
        << "m40 s" << false << false << 0 << 40 << 40 << false << none << 0 << 0;
    QTest::newRow("selected: movement records nothing")
        << "m40 c m50" << true << false << 40 << 40 << 40 << true << QList<int>{40} << 0 << 0;
    QTest::newRow("selected: a click anywhere deselects")
        << "m40 c m50 c" << false << false << 0 << 40 << 40 << true << QList<int>{40, 40} << 0 << 0;
    QTest::newRow("deselected: movement shows and records again")
        << "m40 c m50 c m60" << false << false << 0 << 60 << 60 << true << QList<int>{40, 40} << 0
        << 0;
    QTest::newRow("deselected: the next click selects the new entry")
        << "m40 c m50 c m60 c" << true << false << 60 << 60 << 60 << true << QList<int>{40, 40, 60}
        << 0 << 0;
    QTest::newRow("Spread after a selection erases its outline")
        << "m40 c s" << true << true << 40 << 40 << 40 << true << QList<int>{40, 40} << 0 << 0;
    QTest::newRow("Spread pressed twice restores the outline")
        << "m40 c s s" << true << true << 40 << 40 << 40 << true << QList<int>{40, 40, 40} << 0
        << 0;
    QTest::newRow("armed: movement records only")
        << "m40 c s m50" << true << true << 40 << 50 << 40 << true << QList<int>{40, 40} << 0 << 0;
    QTest::newRow("armed: Spread again outlines the last recorded cell")
        << "m40 c s m50 s" << true << true << 40 << 50 << 40 << true << QList<int>{40, 40, 50} << 0
        << 0;
    QTest::newRow("armed: a click on the selected cell deselects and stays armed")
        << "m40 c s m50 m40 c" << false << true << 0 << 40 << 40 << true << QList<int>{40, 40, 40}
        << 0 << 0;
    QTest::newRow("armed, nothing selected: movement shows and records")
        << "m40 c s m40 c m60" << false << true << 0 << 60 << 60 << true << QList<int>{40, 40, 40}
        << 0 << 0;
    QTest::newRow("armed, nothing selected: a click selects, armed at once")
        << "m40 c s m40 c m60 c" << true << true << 60 << 60 << 60 << true
        << QList<int>{40, 40, 40, 60} << 0 << 0;
    QTest::newRow("armed: a click on another cell is the second pick")
        << "m40 c s m50 c" << false << false << 0 << 50 << 40 << false << none << 40 << 50;
    QTest::newRow("Spread after a deselect arms with nothing selected")
        << "m40 c c s" << false << true << 0 << 40 << 40 << true << QList<int>{40, 40, 40} << 0
        << 0;
    QTest::newRow("Spread after a deselect: the next selection is armed")
        << "m40 c c s m60 c m70" << true << true << 60 << 70 << 60 << true
        << QList<int>{40, 40, 40, 60} << 0 << 0;
    QTest::newRow("Spread after a deselect: select, then the second pick fills")
        << "m40 c c s m60 c m70 c" << false << false << 0 << 70 << 60 << false << none << 60 << 70;
    QTest::newRow("after a fill the next click selects again")
        << "m40 c s m50 c m60 c" << true << false << 60 << 60 << 60 << true << QList<int>{60} << 40
        << 50;
}

void TestEditCycle::selectionStates() {
    QFETCH(QString, script);
    QFETCH(bool, anchorSet);
    QFETCH(bool, armed);
    QFETCH(int, anchor);
    QFETCH(int, recorded);
    QFETCH(int, readout);
    QFETCH(bool, sprEnabled);
    QFETCH(QList<int>, toggles);
    QFETCH(int, fillFrom);
    QFETCH(int, fillTo);
    QVERIFY(start());

    runScript(script);

    const EditorState &state = m_editor->state();
    QCOMPARE(state.anchorSet, anchorSet);
    QCOMPARE(state.spreadArmed, armed ? std::int16_t(-1) : std::int16_t(0));
    if (anchor != 0)
        QCOMPARE(state.anchorIndex, anchor);
    QCOMPARE(entryOfPoint(state.pointerX, state.pointerY), recorded);
    if (readout != 0)
        verifyReadout(readout);
    QCOMPARE(m_editor->terrain().spr->isEnabled(), sprEnabled);

    if (fillFrom == 0) {
        QCOMPARE(firstPaletteDifference(state.palette, m_loaded), QString());
        verifyPicture(m_loaded, oddOnes(toggles));
    } else {
        QCOMPARE(state.targetIndex, fillTo);
        // The fill's values have tests of their own; here only what lies outside the two picks
        // stays, and the repaint leaves no outline of before.
        for (int n = 0; n < 258; ++n)
            if (n <= fillFrom || n >= fillTo)
                QVERIFY(state.palette[n] == m_loaded[n]);
        QVERIFY(state.palette != m_loaded);
        verifyPicture(state.palette, oddOnes(toggles));
    }
}

// --- Channel bars ----------------------------------------------------------------------------

void TestEditCycle::changeWritesTheSelectedEntryAndItsCell() {
    QVERIFY(start());
    hover(18);
    clickGrid();
    QCOMPARE(m_editor->state().anchorIndex, 18);

    m_editor->terrain().v2->setChannelValue(200);

    Palette expected = m_loaded;
    setColour(expected, 18, 10, 200, 30);
    QCOMPARE(m_editor->state().palette[18][0], 2017290);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, expected), QString());
    QCOMPARE(m_editor->terrain().t2->text(), QStringLiteral("200"));
    // Exactly the square from (16, 16) to (31, 31) is refilled, with one outline on it.
    verifyPicture(expected, {18});
}

void TestEditCycle::barSteps_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("delta");
    for (bool selected : {false, true}) {
        const char *const state = selected ? "selected" : "nothing selected";
        QTest::addRow("top arrow, %s", state) << "top arrow" << selected << 1;
        QTest::addRow("bottom arrow, %s", state) << "bottom arrow" << selected << -1;
        QTest::addRow("trough above the thumb, %s", state) << "trough above" << selected << 1;
        QTest::addRow("trough below the thumb, %s", state) << "trough below" << selected << -1;
        QTest::addRow("Up key, %s", state) << "Up" << selected << 1;
        QTest::addRow("Down key, %s", state) << "Down" << selected << -1;
    }
}

void TestEditCycle::barSteps() {
    QFETCH(QString, action);
    QFETCH(bool, selected);
    QFETCH(int, delta);
    QVERIFY(start());
    hover(40);
    if (selected)
        clickGrid();
    // Green 200 keeps the thumb clear of both ends, so both troughs can be clicked.
    ChannelBar *bar = m_editor->terrain().v2;
    QSignalSpy changes(bar, &ChannelBar::changed);

    if (action == QLatin1String("top arrow"))
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          barPart(bar, QStyle::SC_ScrollBarSubLine).center());
    else if (action == QLatin1String("bottom arrow"))
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          barPart(bar, QStyle::SC_ScrollBarAddLine).center());
    else if (action == QLatin1String("trough above"))
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          barPart(bar, QStyle::SC_ScrollBarSubPage).center());
    else if (action == QLatin1String("trough below"))
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          barPart(bar, QStyle::SC_ScrollBarAddPage).center());
    else
        QTest::keyClick(bar, action == QLatin1String("Up") ? Qt::Key_Up : Qt::Key_Down);

    QCOMPARE(bar->channelValue(), 200 + delta);
    QCOMPARE(changes.count(), 1);
    if (selected) {
        Palette expected = m_loaded;
        setColour(expected, 40, 12, 200 + delta, 7);
        QCOMPARE(firstPaletteDifference(m_editor->state().palette, expected), QString());
        QCOMPARE(m_editor->terrain().t2->text(), QString::number(200 + delta));
        verifyPicture(expected, {40});
    } else {
        // The bar moves, but nothing is written, drawn or shown.
        QCOMPARE(firstPaletteDifference(m_editor->state().palette, m_loaded), QString());
        QCOMPARE(m_editor->terrain().t2->text(), QStringLiteral("200"));
        verifyPicture(m_loaded, {});
    }
}

void TestEditCycle::thumbDragChangesThePaletteOnceAtRelease_data() {
    QTest::addColumn<bool>("selected");
    QTest::newRow("nothing selected") << false;
    QTest::newRow("selected") << true;
}

void TestEditCycle::thumbDragChangesThePaletteOnceAtRelease() {
    QFETCH(bool, selected);
    QVERIFY(start());
    hover(40);
    if (selected)
        clickGrid();
    const QList<int> outline = selected ? QList<int>{40} : QList<int>{};
    ChannelBar *bar = m_editor->terrain().v2;
    QLineEdit *text = m_editor->terrain().t2;
    QSignalSpy changes(bar, &ChannelBar::changed);
    const QPoint grip = barPart(bar, QStyle::SC_ScrollBarSlider).center();

    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QStringList shown;
    for (int dy : {10, 25, 40}) {
        QTest::mouseMove(bar, grip + QPoint(0, dy));
        shown << text->text();
        // While dragging the text follows the thumb, and nothing else changes.
        QCOMPARE(text->text(), QString::number(bar->maximum() - bar->sliderPosition()));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(firstPaletteDifference(m_editor->state().palette, m_loaded), QString());
        verifyPicture(m_loaded, outline);
    }
    QCOMPARE(shown.removeDuplicates(), qsizetype(0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(0, 40));

    const int dragged = bar->channelValue();
    QVERIFY(dragged < 200);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(text->text(), QString::number(dragged));
    Palette expected = m_loaded;
    if (selected)
        setColour(expected, 40, 12, dragged, 7);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, expected), QString());
    verifyPicture(expected, outline);
}

void TestEditCycle::barEnds_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("value");
    QTest::newRow("Home key") << "Home" << 255;
    QTest::newRow("End key") << "End" << 0;
    QTest::newRow("thumb dragged past the top") << "drag up" << 255;
    QTest::newRow("thumb dragged past the bottom") << "drag down" << 0;
}

void TestEditCycle::barEnds() {
    QFETCH(QString, action);
    QFETCH(int, value);
    QVERIFY(start());
    hover(40);
    clickGrid();
    ChannelBar *bar = m_editor->terrain().v1;

    if (action.startsWith(QLatin1String("drag"))) {
        const QPoint grip = barPart(bar, QStyle::SC_ScrollBarSlider).center();
        const QPoint end = grip + QPoint(0, action.endsWith(QLatin1String("up")) ? -400 : 400);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, end);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, end);
    } else {
        QTest::keyClick(bar, action == QLatin1String("Home") ? Qt::Key_Home : Qt::Key_End);
    }

    QCOMPARE(bar->channelValue(), value);
    QCOMPARE(m_editor->state().palette[40][1], value);
    QCOMPARE(m_editor->terrain().t1->text(), QString::number(value));
    // Pushing on past the end changes nothing more.
    QSignalSpy changes(bar, &ChannelBar::changed);
    QTest::keyClick(bar, value == 255 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(changes.count(), 0);
    Palette expected = m_loaded;
    setColour(expected, 40, value, 200, 7);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, expected), QString());
    verifyPicture(expected, {40});
}

void TestEditCycle::severalChangesLeaveOneOutline() {
    QVERIFY(start());
    hover(40);
    clickGrid();
    Terrain &terrain = m_editor->terrain();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(terrain.v1, Qt::Key_Up);
    QTest::mouseClick(terrain.v3, Qt::LeftButton, {},
                      barPart(terrain.v3, QStyle::SC_ScrollBarSubLine).center());
    QTest::keyClick(terrain.v2, Qt::Key_Down);
    // While armed and moving over other cells, a change still goes to the selected entry.
    pressSpread();
    hover(41);
    pressSpread();
    hover(40);
    pressSpread();
    QTest::keyClick(terrain.v2, Qt::Key_Down);

    Palette expected = m_loaded;
    setColour(expected, 40, 15, 198, 8);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, expected), QString());
    // Spread pressed three times: the outline toggled on 40, then on 41 and on 40 again.
    verifyPicture(expected, {40, 41});

    hover(40);
    clickGrid(); // the selected cell: deselect, which erases its one outline
    QVERIFY(!m_editor->state().anchorSet);
    verifyPicture(expected, {41});
}

// --- Spread ----------------------------------------------------------------------------------

void TestEditCycle::spreadFillsThroughTheGrid_data() {
    // The arithmetic is the gradient test's; these rows take it through clicks and the grid.
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("target");
    QTest::addColumn<Rgb>("anchorColour");
    QTest::addColumn<Rgb>("targetColour");

    QTest::newRow("10 to 14") << 10 << 14 << Rgb{0, 60, 9} << Rgb{100, 60, 9};
    QTest::newRow("14 to 10") << 14 << 10 << Rgb{100, 60, 9} << Rgb{0, 60, 9};
    QTest::newRow("accumulated 16 to 10") << 16 << 10 << Rgb{0, 0, 0} << Rgb{1, 0, 0};
    QTest::newRow("neighbours 17 and 16") << 17 << 16 << Rgb{0, 0, 0} << Rgb{255, 255, 255};
    QTest::newRow("one above the other, 21 to 5") << 21 << 5 << Rgb{0, 255, 33} << Rgb{240, 15, 33};
    QTest::newRow("1 to 256") << 1 << 256 << Rgb{0, 255, 77} << Rgb{255, 0, 77};
}

void TestEditCycle::spreadFillsThroughTheGrid() {
    QFETCH(int, anchor);
    QFETCH(int, target);
    QFETCH(Rgb, anchorColour);
    QFETCH(Rgb, targetColour);
    Palette palette = startPalette();
    setColour(palette, anchor, anchorColour.red, anchorColour.green, anchorColour.blue);
    setColour(palette, target, targetColour.red, targetColour.green, targetColour.blue);
    QVERIFY(start(palette));

    hover(anchor);
    clickGrid();
    pressSpread();
    // A stray outline that only the fill's repaint removes.
    hover(200);
    pressSpread();
    hover(target);
    clickGrid();

    Palette expected = palette;
    modelGradient(expected, anchor, target);
    const EditorState &state = m_editor->state();
    QCOMPARE(firstPaletteDifference(state.palette, expected), QString());
    verifyPicture(expected, {});
    QVERIFY(!state.anchorSet);
    QCOMPARE(state.spreadArmed, std::int16_t(0));
    QCOMPARE(state.targetIndex, target);
    QVERIFY(!m_editor->terrain().spr->isEnabled());
    // The read-outs keep the anchor until the pointer moves again.
    Terrain &terrain = m_editor->terrain();
    QCOMPARE(terrain.v1->channelValue(), anchorColour.red);
    QCOMPARE(terrain.t3->text(), QString::number(anchorColour.blue));
    QCOMPARE(terrain.ty->text(), className(anchor));
    // After the fill the bars edit nothing.
    QTest::keyClick(terrain.v1, Qt::Key_Up);
    QCOMPARE(firstPaletteDifference(state.palette, expected), QString());
}

// --- Positions outside the grid --------------------------------------------------------------

void TestEditCycle::dragOutOfTheGridAndBack_data() {
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QList<QPoint>>("path"); // in grid pixels, after the press on entry 40
    QTest::addColumn<int>("picked");         // the entry the release picks

    const QList<QPoint> out{{300, 40}, {-30, 40}, {120, -50}, {120, 400}, {-200, -200}, {900, 700}};
    QTest::newRow("out, released outside") << false << out << 40;
    QTest::newRow("out and back to 100")
        << false << (out + QList<QPoint>{centreOfEntry(100)}) << 100;
    QTest::newRow("just past each edge")
        << false << QList<QPoint>{{256, 40}, {-1, 40}, {120, 256}, {120, -1}} << 40;
    QTest::newRow("armed, released outside") << true << out << 40;
    QTest::newRow("armed, out and back to 100")
        << true << (out + QList<QPoint>{centreOfEntry(100)}) << 100;
}

// Through the window, as the window system delivers it: the press on the grid grabs the
// pointer, so the grid sees the drag wherever it goes.
void TestEditCycle::dragOutOfTheGridAndBack() {
    QFETCH(bool, armed);
    QFETCH(QList<QPoint>, path);
    QFETCH(int, picked);
    QVERIFY(start());
    if (armed) {
        runScript(QStringLiteral("m20 c s"));
        QCOMPARE(m_editor->state().spreadArmed, std::int16_t(-1));
    }
    QWindow *window = m_editor->terrain().windowHandle();
    PaletteGrid *pic = m_editor->pic();
    const auto inWindow = [&](QPoint p) { return pic->mapTo(&m_editor->terrain(), p); };
    QTest::mouseMove(window, inWindow(centreOfEntry(40)));
    const QString shown = m_editor->terrain().t1->text();

    // Qt Test remarks on every event beyond the window's right or bottom edge.
    const auto expectRemark = [&](QPoint p) {
        const QPoint q = inWindow(p);
        if (q.x() >= window->width() || q.y() >= window->height())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("outside target window"));
    };

    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(centreOfEntry(40)));
    for (QPoint p : path) {
        expectRemark(p);
        QTest::mouseMove(window, inWindow(p));
        const EditorState &state = m_editor->state();
        QVERIFY(state.pointerX >= 0 && state.pointerX < 256);
        QVERIFY(state.pointerY >= 0 && state.pointerY < 256);
    }
    if (armed)
        QCOMPARE(m_editor->terrain().t1->text(), QString::number(m_loaded[20][1]));
    else if (picked == 40)
        QCOMPARE(m_editor->terrain().t1->text(), shown);
    expectRemark(path.last());
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(path.last()));

    const EditorState &state = m_editor->state();
    QCOMPARE(entryOfPoint(state.pointerX, state.pointerY), picked);
    if (armed) {
        QCOMPARE(state.targetIndex, picked);
        QVERIFY(!state.anchorSet);
        verifyPicture(state.palette, {});
    } else {
        QVERIFY(state.anchorSet);
        QCOMPARE(state.anchorIndex, picked);
        verifyPicture(m_loaded, {picked});
    }
    QVERIFY(state.anchorIndex >= 1 && state.anchorIndex <= 256);
}

void TestEditCycle::positionsOutsideTheGridAreIgnored() {
    QVERIFY(start());
    PaletteGrid *pic = m_editor->pic();
    hover(40);
    // Positions a drag can deliver, with the button held; some would wrap onto another row or
    // give entries beyond 256.
    sendMouse(pic, QEvent::MouseButtonPress, centreOfEntry(40), Qt::LeftButton, Qt::LeftButton);
    const QList<QPointF> outside{{256, 5},     {260, 5},         {-0.5, 5},  {5, -0.01},
                                 {5, 256},     {255.5, 256.5},   {-16, 300}, {1e6, 1e6},
                                 {-1e6, -1e6}, {255.99999999, 3}};
    for (QPointF p : outside) {
        sendMove(pic, p, Qt::LeftButton);
        QCOMPARE(m_editor->state().pointerX, 120.0f);
        QCOMPARE(m_editor->state().pointerY, 40.0f);
        verifyReadout(40);
    }
    sendMouse(pic, QEvent::MouseButtonRelease, outside.last(), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_editor->state().anchorIndex, 40);
    verifyPicture(m_loaded, {40});
}

QTEST_MAIN(TestEditCycle)
#include "tst_editcycle.moc"
