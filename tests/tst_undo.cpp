#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

#include <memory>

// Undo and redo by their keys on the real editor window, after edits made with the mouse.

namespace {

Palette startPalette() {
    // Entry 40 lies clear of both ends of every bar.
    Palette palette = distinctPalette();
    setColour(palette, 40, 12, 200, 7);
    return palette;
}

// What an undo or a redo must leave exactly as it was.
struct Selection {
    bool anchorSet;
    int anchorIndex;
    std::int16_t spreadArmed;
    bool spreadEnabled;
    float pointerX;
    float pointerY;
    friend bool operator==(const Selection &, const Selection &) = default;
};

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_editor.reset(); }
    void runsOfChanges_data();
    void runsOfChanges();
    void undoAndRedoShowThePalette_data();
    void undoAndRedoShowThePalette();

private:
    bool start();
    void run(const QString &script);
    void press(QKeyCombination keys);
    Selection selection();
    QStringList readout();
    QStringList readoutOf(int entry);
    QString pictureDifference();

    std::unique_ptr<LoadedEditor> m_editor;
    QList<Palette> m_marks;
    QPoint m_pointer;
};

bool TestUndo::start() {
    m_editor = std::make_unique<LoadedEditor>();
    m_marks.clear();
    m_editor->terrain().activateWindow();
    return m_editor->load(fileBytes(startPalette())) &&
           QTest::qWaitForWindowActive(&m_editor->terrain());
}

// "m40" moves onto entry 40, "c" clicks the grid there, "s" presses Spread, "S" Save; "r+",
// "g-", "b+" click a bar's top or bottom arrow, "*5" after a step repeats it; "u" is Ctrl+Z,
// "y" Ctrl+Y, "Y" Ctrl+Shift+Z; "|" notes the palette as it is.
void TestUndo::run(const QString &script) {
    Terrain &terrain = m_editor->terrain();
    for (const QString &token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = token.split(QLatin1Char('*'));
        const QString step = parts.first();
        for (int i = 0; i < (parts.size() > 1 ? parts.last().toInt() : 1); ++i) {
            if (step.startsWith(QLatin1Char('m'))) {
                // A move to where the pointer already is would be dropped.
                m_pointer = centreOfEntry(step.mid(1).toInt());
                QTest::mouseMove(terrain.pic, m_pointer + QPoint(1, 0));
                QTest::mouseMove(terrain.pic, m_pointer);
            } else if (step == QLatin1String("c")) {
                QTest::mouseClick(terrain.pic, Qt::LeftButton, {}, m_pointer);
            } else if (step == QLatin1String("s") || step == QLatin1String("S")) {
                QTest::mouseClick(step == QLatin1String("s") ? terrain.spr : terrain.sav,
                                  Qt::LeftButton);
            } else if (step.size() == 2 && QStringLiteral("rgb").contains(step.at(0))) {
                ChannelBar *bar = terrain.bar(1 + QStringLiteral("rgb").indexOf(step.at(0)));
                const auto arrow = step.at(1) == QLatin1Char('+') ? QStyle::SC_ScrollBarSubLine
                                                                  : QStyle::SC_ScrollBarAddLine;
                QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, arrow).center());
            } else if (step == QLatin1String("|")) {
                m_marks.append(m_editor->state().palette);
            } else {
                press(step == QLatin1String("u")   ? Qt::CTRL | Qt::Key_Z
                      : step == QLatin1String("y") ? Qt::CTRL | Qt::Key_Y
                                                   : Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
            }
        }
    }
}

// To whichever control has the focus, as the keyboard would.
void TestUndo::press(QKeyCombination keys) {
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->window() == &m_editor->terrain());
    QTest::keyClick(focus, keys.key(), keys.keyboardModifiers());
}

Selection TestUndo::selection() {
    const EditorState &s = m_editor->state();
    return {s.anchorSet, s.anchorIndex, s.spreadArmed, m_editor->terrain().spr->isEnabled(),
            s.pointerX,  s.pointerY};
}

QStringList TestUndo::readout() {
    const Terrain &terrain = m_editor->terrain();
    QStringList shown;
    for (int c = 1; c <= 3; ++c)
        shown << QString::number(terrain.bar(c)->channelValue()) << terrain.channelText(c)->text();
    return shown << terrain.ty->text();
}

QStringList TestUndo::readoutOf(int entry) {
    QStringList shown;
    for (int c = 1; c <= 3; ++c)
        shown << QString::number(m_editor->state().palette[entry][c])
              << QString::number(m_editor->state().palette[entry][c]);
    return shown << className(entry);
}

// The grid against a fresh drawing of the palette, with the outline of a selection that Spread
// has not taken over.
QString TestUndo::pictureDifference() {
    const EditorState &s = m_editor->state();
    const QList<int> outlined =
        s.anchorSet && !s.isSpreadArmed() ? QList<int>{s.anchorIndex} : QList<int>{};
    return firstDifference(m_editor->pic()->image(), expectedPicture(s.palette, outlined));
}

void TestUndo::runsOfChanges_data() {
    QTest::addColumn<QString>("script");
    // Each "|" starts one step.
    QTest::newRow("ten arrow clicks") << "m40 c | r+*10";
    QTest::newRow("up and down on one bar") << "m40 c | g+*3 g-*5";
    QTest::newRow("another channel") << "m40 c | r+*2 | g+ | r+";
    QTest::newRow("another entry") << "m40 c | r+ c m41 c | r+";
    QTest::newRow("a fill between") << "m40 c | r+ | s m44 c | m40 c r+";
    QTest::newRow("an undo between") << "m40 c | r+*2 g+ u | r+";
    QTest::newRow("a redo between") << "m40 c | r+*2 u y | r+";
    QTest::newRow("selection, Save and Spread") << "m40 c | r+ c c r+ S r+ s r+";
    QTest::newRow("undo and redo with nothing to take") << "u Y m40 c | r+ y r+";
    // The second and third change write what the entry holds; the last one returns to the
    // start of the run, which stays one step.
    QTest::newRow("changes that write nothing") << "m40 c | r+ c r+ c r- r-";
    QTest::newRow("a fill that changes nothing") << "m40 c | r+ s m41 c m40 c r+";
}

void TestUndo::runsOfChanges() {
    QFETCH(QString, script);
    QVERIFY(start());
    run(script);
    const QUndoStack &stack = m_editor->terrain().history().stack();
    QCOMPARE(stack.index(), m_marks.size());
    while (!m_marks.isEmpty()) {
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(firstPaletteDifference(m_editor->state().palette, m_marks.takeLast()), QString());
    }
    // Nothing left to undo: the keys change nothing at all.
    const QImage picture = m_editor->pic()->image();
    const QStringList shown = readout();
    press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(stack.index(), 0);
    QCOMPARE(m_editor->pic()->image(), picture);
    QCOMPARE(readout(), shown);
}

void TestUndo::undoAndRedoShowThePalette_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<char>("redo");
    // The step undone starts at "|"; what follows it sets the selection state.
    QTest::newRow("fill") << "m10 c s m14 | c m12" << 'y';
    QTest::newRow("fill, Ctrl+Shift+Z") << "m10 c s m14 | c m12" << 'Y';
    QTest::newRow("selected") << "m40 c | g+*3" << 'y';
    // The red bar already stands at the value the undo restores, its read-out does not.
    QTest::newRow("selected, bar moved while deselected") << "m40 c | r+ c r- c" << 'y';
    QTest::newRow("selected, Spread armed") << "m40 c | g+*3 s m50" << 'Y';
    QTest::newRow("nothing selected") << "m40 c | g+*3 c m41 m40" << 'y';
    QTest::newRow("nothing selected, Spread armed") << "m40 c | g+*3 s c m41 S" << 'Y';
    QTest::newRow("selected after a fill") << "m10 c s m14 | c m12 c" << 'y';
}

void TestUndo::undoAndRedoShowThePalette() {
    QFETCH(QString, script);
    QFETCH(char, redo);
    QVERIFY(start());
    run(script);
    const Palette edited = m_editor->state().palette;
    const Selection before = selection();
    const QStringList shown = readout();
    const EditorState &s = m_editor->state();
    const QUndoStack &stack = m_editor->terrain().history().stack();
    const int steps = stack.count();

    for (const QString &key : {QStringLiteral("u"), QString(QLatin1Char(redo))}) {
        run(key);
        const Palette &expected = key == QLatin1String("u") ? m_marks.first() : edited;
        QCOMPARE(firstPaletteDifference(s.palette, expected), QString());
        QCOMPARE(pictureDifference(), QString());
        QVERIFY(selection() == before);
        QCOMPARE(stack.count(), steps);
        if (s.anchorSet)
            QCOMPARE(readout().mid(0, 6), readoutOf(s.anchorIndex).mid(0, 6));
        else if (!s.isSpreadArmed())
            QCOMPARE(readout(), readoutOf(m_pointer.x() / 16 + 16 * (m_pointer.y() / 16) + 1));
        else
            QCOMPARE(readout(), shown);
    }
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
