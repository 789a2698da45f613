#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

#include <memory>

// Undo and redo by their keys on the real editor window, after edits made with the mouse.
class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_editor.reset(); }
    void undoAndRedo_data();
    void undoAndRedo();

private:
    void run(const QString &script);
    QStringList selectionAndReadout();
    void pressAndVerify(const QString &key, const Palette &expected);

    std::unique_ptr<LoadedEditor> m_editor;
    QList<Palette> m_marks;
    QPoint m_pointer;
};

void TestUndo::init() {
    // Entry 40 lies clear of both ends of every bar.
    Palette palette = distinctPalette();
    setColour(palette, 40, 12, 200, 7);
    m_editor = std::make_unique<LoadedEditor>();
    m_marks.clear();
    m_editor->terrain().activateWindow();
    QVERIFY(m_editor->load(fileBytes(palette)));
    QVERIFY(QTest::qWaitForWindowActive(&m_editor->terrain()));
}

// "m40" moves onto entry 40, "c" clicks the grid there, "s" presses Spread, "S" Save; "r+",
// "g-", "b+" click a bar's top or bottom arrow, "*5" repeats a step; "u" is Ctrl+Z, "y" Ctrl+Y,
// "Y" Ctrl+Shift+Z, pressed on whichever control has the focus; "|" notes the palette.
void TestUndo::run(const QString &script) {
    Terrain &terrain = m_editor->terrain();
    for (const QString &token : script.split(QLatin1Char(' '))) {
        const QString step = token.section(QLatin1Char('*'), 0, 0);
        const int times = token.contains(QLatin1Char('*')) ? token.section('*', 1).toInt() : 1;
        const char kind = step.at(0).toLatin1();
        for (int i = 0; i < times; ++i) {
            if (kind == 'm') {
                // A move to where the pointer already is would be dropped.
                m_pointer = centreOfEntry(step.mid(1).toInt());
                QTest::mouseMove(terrain.pic, m_pointer + QPoint(1, 0));
                QTest::mouseMove(terrain.pic, m_pointer);
            } else if (kind == 'c') {
                QTest::mouseClick(terrain.pic, Qt::LeftButton, {}, m_pointer);
            } else if (kind == 's' || kind == 'S') {
                QTest::mouseClick(kind == 's' ? terrain.spr : terrain.sav, Qt::LeftButton);
            } else if (kind == '|') {
                m_marks.append(m_editor->state().palette);
            } else if (step.size() == 2) {
                ChannelBar *bar = terrain.bar(QByteArray("-rgb").indexOf(kind));
                const auto arrow = step.at(1) == QLatin1Char('+') ? QStyle::SC_ScrollBarSubLine
                                                                  : QStyle::SC_ScrollBarAddLine;
                QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, arrow).center());
            } else {
                QWidget *focus = QApplication::focusWidget();
                QVERIFY(focus && focus->window() == &terrain);
                const auto shift = kind == 'Y' ? Qt::ShiftModifier : Qt::NoModifier;
                QTest::keyClick(focus, kind == 'y' ? Qt::Key_Y : Qt::Key_Z,
                                Qt::ControlModifier | shift);
            }
        }
    }
}

// anchorSet, anchorIndex, spreadArmed, Spread enabled, pointerX, pointerY, then each bar and
// its read-out, then the class.
QStringList TestUndo::selectionAndReadout() {
    const EditorState &s = m_editor->state();
    const Terrain &t = m_editor->terrain();
    QStringList shown;
    for (double value : {double(s.anchorSet), double(s.anchorIndex), double(s.spreadArmed),
                         double(t.spr->isEnabled()), double(s.pointerX), double(s.pointerY)})
        shown << QString::number(value);
    for (int c = 1; c <= 3; ++c)
        shown << QString::number(t.bar(c)->channelValue()) << t.channelText(c)->text();
    return shown << t.ty->text();
}

void TestUndo::undoAndRedo_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<char>("redo");
    // Each "|" starts one step. What follows the last one sets the selection state, and may
    // leave an outline or a bar that a full refresh would not.
    QTest::newRow("ten arrow clicks") << "m40 c | r+*10" << 'y';
    QTest::newRow("up and down on one bar") << "m40 c | g+*3 g-*5" << 'Y';
    QTest::newRow("another channel") << "m40 c | r+*2 | g+ | r+" << 'y';
    QTest::newRow("another entry") << "m40 c | r+ c m41 c | r+" << 'Y';
    QTest::newRow("a fill between") << "m40 c | r+ | s m44 c | m40 c r+" << 'y';
    QTest::newRow("an undo between") << "m40 c | r+*2 g+ u | r+" << 'Y';
    QTest::newRow("a redo between") << "m40 c | r+*2 u y | r+" << 'y';
    QTest::newRow("selection, Save and Spread") << "m40 c | r+ c c r+ S r+ s r+" << 'Y';
    QTest::newRow("undo and redo with nothing to take") << "u Y m40 c | r+ y r+" << 'y';
    // The second and third change write what the entry holds; the last one returns to the
    // start of the run, which stays one step.
    QTest::newRow("changes that write nothing") << "m40 c | r+ c r+ c r- r-" << 'Y';
    QTest::newRow("a fill that changes nothing") << "m40 c | r+ s m41 c m40 c r+" << 'y';
    QTest::newRow("fill") << "m40 c s m200 | c m42" << 'y';
    QTest::newRow("fill, Ctrl+Shift+Z") << "m40 c s m44 | c m42" << 'Y';
    // The red bar already stands at the value the undo restores, its read-out does not.
    QTest::newRow("selected, bar moved while deselected") << "m40 c | r+ c r- c" << 'y';
    QTest::newRow("selected, Spread armed") << "m40 c | g+*3 s m50 s" << 'Y';
    QTest::newRow("nothing selected") << "m40 c | g+*3 c m41 m40 r+" << 'y';
    QTest::newRow("nothing selected, Spread armed") << "m40 c | g+*3 s c S" << 'Y';
    QTest::newRow("selected after a fill") << "m40 c s m44 | c m42 c" << 'y';
}

void TestUndo::undoAndRedo() {
    QFETCH(QString, script);
    QFETCH(char, redo);
    // With nothing to undo or redo a key changes nothing at all, not even a stray outline.
    const auto changesNothing = [this](const QString &key) {
        const QImage picture = m_editor->pic()->image();
        const QStringList shown = selectionAndReadout();
        run(key);
        return m_editor->pic()->image() == picture && selectionAndReadout() == shown;
    };
    QVERIFY(changesNothing(QStringLiteral("u")));
    run(script);
    QCOMPARE(m_editor->terrain().history().stack().index(), m_marks.size());
    m_marks.append(m_editor->state().palette);
    QVERIFY(changesNothing(QString(QLatin1Char(redo))));
    for (qsizetype i = m_marks.size() - 2; i >= 0 && !QTest::currentTestFailed(); --i)
        pressAndVerify(QStringLiteral("u"), m_marks[i]);
    for (qsizetype i = 1; i < m_marks.size() && !QTest::currentTestFailed(); ++i)
        pressAndVerify(QString(QLatin1Char(redo)), m_marks[i]);
}

// One undo or redo: the palette as expected, the grid a fresh drawing of it with the outline of
// a selection that Spread has not taken over, the selection as it was, no new step; the bars
// show the selected entry, or with nothing selected and Spread not armed, the entry under the
// recorded position.
void TestUndo::pressAndVerify(const QString &key, const Palette &expected) {
    const EditorState &s = m_editor->state();
    QStringList expectedShown = selectionAndReadout();
    const qsizetype steps = m_editor->terrain().history().stack().count();
    run(key);
    QCOMPARE(firstPaletteDifference(s.palette, expected), QString());
    const QList<int> outlined =
        s.anchorSet && !s.isSpreadArmed() ? QList{s.anchorIndex} : QList<int>{};
    QCOMPARE(firstDifference(m_editor->pic()->image(), expectedPicture(s.palette, outlined)),
             QString());
    QCOMPARE(m_editor->terrain().history().stack().count(), steps);
    const int n =
        s.anchorSet ? s.anchorIndex : int(s.pointerX) / 16 + int(s.pointerY) / 16 * 16 + 1;
    for (int c = 1; c <= 3 && (s.anchorSet || !s.isSpreadArmed()); ++c)
        expectedShown[4 + 2 * c] = expectedShown[5 + 2 * c] = QString::number(s.palette[n][c]);
    if (!s.anchorSet && !s.isSpreadArmed())
        expectedShown[12] = className(n);
    QCOMPARE(selectionAndReadout(), expectedShown);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
