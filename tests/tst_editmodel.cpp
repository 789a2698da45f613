#include "GradientModel.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <memory>

// Thousands of random pointer, button, bar and key events go to the real widgets; after each
// one the editor must agree with a small model of the edit cycle written here from the rules
// users see, without the editor's own handlers.

namespace {

constexpr int defaultSteps = 1200;

class EditModel {
public:
    explicit EditModel(const Palette &loaded) : palette(loaded), picture(expectedPicture(loaded)) {
        for (int c = 1; c <= 3; ++c)
            texts[c] = QStringLiteral("255");
    }

    void move(QPointF position) {
        const float x = static_cast<float>(position.x());
        const float y = static_cast<float>(position.y());
        // Only a drag that began on the grid brings positions beyond it; they mean nothing.
        if (!(x >= 0 && x < 256 && y >= 0 && y < 256)) {
            ++seen.outside;
            return;
        }
        if (anchorSet && !armed)
            return;
        pointerX = x;
        pointerY = y;
        if (anchorSet)
            return;
        const int n = recordedEntry();
        for (int c = 1; c <= 3; ++c) {
            bars[c] = palette[n][c];
            texts[c] = QString::number(palette[n][c]);
        }
        classText = className(n);
    }

    void click() {
        const int n = recordedEntry();
        if (!anchorSet) {
            toggleOutline(n);
            anchorSet = true;
            anchorIndex = n;
            spreadEnabled = true;
            ++(armed ? seen.armedSelections : seen.selections);
        } else if (n == anchorIndex) {
            anchorSet = false;
            toggleOutline(n);
            ++(armed ? seen.armedDeselections : seen.deselections);
        } else if (armed) {
            ++seen.fills;
            targetIndex = n;
            spreadEnabled = false;
            modelGradient(palette, anchorIndex, targetIndex);
            picture = expectedPicture(palette);
            anchorSet = false;
            armed = false;
        }
    }

    void spread() {
        if (!spreadEnabled)
            return;
        armed = true;
        toggleOutline(recordedEntry());
        ++seen.spreads;
    }

    // The bar of a channel stepped or dropped to a new value.
    void barChanged(int channel, int value) {
        if (value == bars[channel])
            return;
        bars[channel] = value;
        if (!anchorSet)
            return;
        ++seen.edits;
        setColour(palette, anchorIndex, channel == 1 ? value : palette[anchorIndex][1],
                  channel == 2 ? value : palette[anchorIndex][2],
                  channel == 3 ? value : palette[anchorIndex][3]);
        paintCell(anchorIndex);
        toggleOutline(anchorIndex);
        texts[channel] = QString::number(value);
    }

    // The thumb is being dragged and shows this value.
    void barDragged(int channel, int value) { texts[channel] = QString::number(value); }

    int recordedEntry() const {
        return static_cast<int>(std::floor(pointerX / 16)) +
               16 * static_cast<int>(std::floor(pointerY / 16)) + 1;
    }

    // Everything in which the editor differs from the model, or an empty string.
    QString differences(LoadedEditor &editor) const {
        QStringList found;
        const EditorState &state = editor.state();
        const Terrain &terrain = editor.terrain();
        const auto expect = [&found](bool same, const QString &what) {
            if (!same)
                found << what;
        };
        expect(state.anchorSet == anchorSet, QStringLiteral("anchorSet %1").arg(anchorSet));
        expect(state.spreadArmed == (armed ? -1 : 0), QStringLiteral("spreadArmed %1").arg(armed));
        expect(state.anchorIndex == anchorIndex, QStringLiteral("anchorIndex %1").arg(anchorIndex));
        expect(state.targetIndex == targetIndex, QStringLiteral("targetIndex %1").arg(targetIndex));
        expect(state.pointerX == pointerX && state.pointerY == pointerY,
               QStringLiteral("pointer (%1, %2), editor has (%3, %4)")
                   .arg(pointerX)
                   .arg(pointerY)
                   .arg(state.pointerX)
                   .arg(state.pointerY));
        const QString paletteDifference = firstPaletteDifference(state.palette, palette);
        expect(paletteDifference.isEmpty(), paletteDifference);
        for (int c = 1; c <= 3; ++c) {
            expect(terrain.bar(c)->channelValue() == bars[c],
                   QStringLiteral("bar %1 at %2, expected %3")
                       .arg(c)
                       .arg(terrain.bar(c)->channelValue())
                       .arg(bars[c]));
            expect(terrain.channelText(c)->text() == texts[c],
                   QStringLiteral("text %1 \"%2\", expected \"%3\"")
                       .arg(c)
                       .arg(terrain.channelText(c)->text(), texts[c]));
        }
        expect(terrain.ty->text() == classText,
               QStringLiteral("class \"%1\", expected \"%2\"").arg(terrain.ty->text(), classText));
        expect(terrain.spr->isEnabled() == spreadEnabled,
               QStringLiteral("Spread enabled %1").arg(spreadEnabled));
        if (editor.pic()->image() != picture)
            found << QStringLiteral("picture: ") + firstDifference(editor.pic()->image(), picture);
        return found.join(QStringLiteral("; "));
    }

    Palette palette;
    QImage picture;
    bool anchorSet = false;
    bool armed = false;
    bool spreadEnabled = false;
    int anchorIndex = 0;
    int targetIndex = 0;
    float pointerX = 0;
    float pointerY = 0;
    int bars[4] = {0, 0, 0, 0};
    QString texts[4];
    QString classText;

    // How often each kind of transition came up, to show the run covered them.
    struct {
        int selections = 0;
        int armedSelections = 0;
        int deselections = 0;
        int armedDeselections = 0;
        int spreads = 0;
        int fills = 0;
        int edits = 0;
        int outside = 0;
    } seen;

private:
    void paintCell(int n) {
        paintExpectedCell(picture, n, qRgb(palette[n][1], palette[n][2], palette[n][3]));
    }

    void toggleOutline(int n) { invertExpectedBorder(picture, n); }
};

// Drives one editor with random events and keeps the model in step.
class RandomSession {
public:
    RandomSession(quint32 seed, LoadedEditor &editor, EditModel &model)
        : m_random(seed), m_editor(editor), m_model(model) {}

    // One user action (a move, a press, a release, a bar step, ...); returns what it was.
    QString step() {
        if (m_held)
            return m_random.bounded(4) == 0 ? release() : drag();
        switch (m_random.bounded(20)) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            return move();
        case 7:
        case 8:
        case 9:
            return press();
        case 10:
            return doubleClick();
        case 11:
            return rightClick();
        case 12:
            return pressSpread();
        case 13:
        case 14:
        case 15:
        case 16:
            return barStep();
        case 17:
            return barKey();
        case 18:
            return thumbDrag();
        default:
            return moveNearAnchor();
        }
    }

private:
    PaletteGrid *pic() { return m_editor.pic(); }

    // A position on the grid: anywhere, on whole pixels, or right at a cell's edge.
    QPointF gridPoint() {
        switch (m_random.bounded(4)) {
        case 0:
            return QPointF(m_random.bounded(256), m_random.bounded(256));
        case 1: {
            const auto edge = [this] {
                static const double offsets[] = {0, 0.01, 15.99, 15.5};
                return 16 * m_random.bounded(16) + offsets[m_random.bounded(4)];
            };
            return QPointF(edge(), edge());
        }
        default:
            return {m_random.bounded(256.0), m_random.bounded(256.0)};
        }
    }

    QString describe(const char *what, QPointF p) const {
        return QStringLiteral("%1 (%2, %3)").arg(QLatin1String(what)).arg(p.x()).arg(p.y());
    }

    QString moveTo(QPointF p, const char *what) {
        m_cursor = p;
        m_onGrid = p.x() >= 0 && p.x() < 256 && p.y() >= 0 && p.y() < 256;
        sendMove(pic(), p, m_held ? Qt::LeftButton : Qt::NoButton);
        m_model.move(p);
        return describe(what, p);
    }

    QString move() { return moveTo(gridPoint(), "move to"); }

    // Onto the selected cell or a neighbour, so that clicks on the selected cell and picks
    // next to it happen often.
    QString moveNearAnchor() {
        static const int offsets[] = {0, 0, 1, -1, 16, -16, 2};
        const int n = m_model.anchorIndex + offsets[m_random.bounded(7)];
        if (n < 1 || n > 256)
            return move();
        const QPointF p((n - 1) % 16 * 16 + m_random.bounded(16.0),
                        (n - 1) / 16 * 16 + m_random.bounded(16.0));
        return moveTo(p, "move near the selection to");
    }

    // While the button is held, the pointer may leave the grid, far or just past an edge.
    QString drag() {
        if (m_random.bounded(3) != 0)
            return moveTo(gridPoint(), "drag to");
        static const QPointF outside[] = {{256, 10},        {-0.25, 10}, {10, 256},  {10, -1},
                                          {260, 5},         {-16, 40},   {400, 500}, {-300, -2},
                                          {255.9999999, 3}, {1e7, 1e7}};
        const QPointF p = m_random.bounded(2) == 0
                              ? outside[m_random.bounded(10)]
                              : QPointF(-80 + m_random.bounded(420.0), -1 - m_random.bounded(60.0));
        return moveTo(p, "drag out to");
    }

    // A press reaches the grid only where the pointer is over it.
    QString ontoGrid() { return m_onGrid ? QString() : move() + QStringLiteral(", then "); }

    QString press() {
        const QString before = ontoGrid();
        sendMouse(pic(), QEvent::MouseButtonPress, m_cursor, Qt::LeftButton, Qt::LeftButton);
        m_held = true;
        return before + describe("press at", m_cursor);
    }

    QString release() {
        sendMouse(pic(), QEvent::MouseButtonRelease, m_cursor, Qt::LeftButton, Qt::NoButton);
        m_held = false;
        m_model.click();
        return describe("release at", m_cursor);
    }

    QString doubleClick() {
        const QString before = ontoGrid();
        sendMouse(pic(), QEvent::MouseButtonPress, m_cursor, Qt::LeftButton, Qt::LeftButton);
        sendMouse(pic(), QEvent::MouseButtonRelease, m_cursor, Qt::LeftButton, Qt::NoButton);
        m_model.click();
        // The window system's second press arrives as the double-click event: no second click.
        sendMouse(pic(), QEvent::MouseButtonDblClick, m_cursor, Qt::LeftButton, Qt::LeftButton);
        sendMouse(pic(), QEvent::MouseButtonRelease, m_cursor, Qt::LeftButton, Qt::NoButton);
        return before + describe("double click at", m_cursor);
    }

    QString rightClick() {
        const QString before = ontoGrid();
        sendMouse(pic(), QEvent::MouseButtonPress, m_cursor, Qt::RightButton, Qt::RightButton);
        sendMouse(pic(), QEvent::MouseButtonRelease, m_cursor, Qt::RightButton, Qt::NoButton);
        return before + describe("right click at", m_cursor);
    }

    QString pressSpread() {
        m_onGrid = false;
        if (m_random.bounded(2) == 0)
            QTest::mouseClick(m_editor.terrain().spr, Qt::LeftButton);
        else
            QTest::keyClick(m_editor.terrain().spr, Qt::Key_Space);
        m_model.spread();
        return QStringLiteral("Spread");
    }

    ChannelBar *randomBar(int &channel) {
        channel = 1 + static_cast<int>(m_random.bounded(3));
        return m_editor.terrain().bar(channel);
    }

    // A click on an arrow or into the trough: one step up or down.
    QString barStep() {
        m_onGrid = false;
        int channel = 0;
        ChannelBar *bar = randomBar(channel);
        static const QStyle::SubControl parts[] = {
            QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubPage,
            QStyle::SC_ScrollBarAddPage};
        const int which = static_cast<int>(m_random.bounded(4));
        const QRect place = barPart(bar, parts[which]);
        // Beside a thumb at the end of its travel the trough has no room for a click.
        if (place.height() < 3)
            return barKey();
        const int up = which % 2 == 0 ? 1 : -1;
        QTest::mouseClick(bar, Qt::LeftButton, {}, place.center());
        m_model.barChanged(channel, std::clamp(m_model.bars[channel] + up, 0, 255));
        return QStringLiteral("bar %1: %2").arg(channel).arg(which < 2 ? "arrow" : "trough") +
               (up > 0 ? QLatin1String(" up") : QLatin1String(" down"));
    }

    QString barKey() {
        m_onGrid = false;
        int channel = 0;
        ChannelBar *bar = randomBar(channel);
        static const Qt::Key keys[] = {Qt::Key_Up,     Qt::Key_Up,       Qt::Key_Down, Qt::Key_Down,
                                       Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        const int which = static_cast<int>(m_random.bounded(8));
        QTest::keyClick(bar, keys[which]);
        const int now = m_model.bars[channel];
        static const int targets[] = {1, 1, -1, -1, 1, -1, 1000, -1000};
        m_model.barChanged(channel, std::clamp(now + targets[which], 0, 255));
        return QStringLiteral("bar %1: key %2").arg(channel).arg(which);
    }

    // Press on the thumb, move it in a few steps, let go.
    QString thumbDrag() {
        m_onGrid = false;
        int channel = 0;
        ChannelBar *bar = randomBar(channel);
        const QPoint grip = barPart(bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        int shown = bar->sliderPosition();
        QPoint at = grip;
        const int moves = 1 + static_cast<int>(m_random.bounded(3));
        for (int i = 0; i < moves; ++i) {
            at.setY(grip.y() + static_cast<int>(m_random.bounded(-90, 91)));
            QTest::mouseMove(bar, at);
            // The thumb's place for a pointer position is the toolkit's business; what the
            // editor does with it is the question.
            if (bar->sliderPosition() != shown) {
                shown = bar->sliderPosition();
                m_model.barDragged(channel, bar->maximum() - shown);
            }
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        m_model.barChanged(channel, bar->maximum() - shown);
        return QStringLiteral("bar %1: thumb dragged to %2").arg(channel).arg(255 - shown);
    }

    QRandomGenerator m_random;
    LoadedEditor &m_editor;
    EditModel &m_model;
    QPointF m_cursor;
    bool m_onGrid = false;
    bool m_held = false;
};

Palette randomPalette(QRandomGenerator &random) {
    Palette palette{};
    for (int n = 1; n <= 256; ++n) {
        // Runs of equal colours now and then, so equal ends and flat channels come up.
        if (n > 1 && random.bounded(8) == 0) {
            palette[n] = palette[n - 1];
            continue;
        }
        setColour(palette, n, static_cast<int>(random.bounded(256)),
                  static_cast<int>(random.bounded(256)), static_cast<int>(random.bounded(256)));
    }
    return palette;
}

} // namespace

class TestEditModel : public QObject {
    Q_OBJECT

private slots:
    void randomEventsAgreeWithTheModel_data();
    void randomEventsAgreeWithTheModel();
};

void TestEditModel::randomEventsAgreeWithTheModel_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    // TPE_EDITMODEL_SEED (and TPE_EDITMODEL_STEPS) repeat one run, for example a failed one.
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("TPE_EDITMODEL_SEED").toUInt(&ok);
    const int steps = qEnvironmentVariableIntValue("TPE_EDITMODEL_STEPS");
    if (ok) {
        QTest::addRow("seed %u", seed) << seed << (steps > 0 ? steps : defaultSteps);
        return;
    }
    for (quint32 fixed : {20240402u, 77u, 4242u})
        QTest::addRow("seed %u", fixed) << fixed << defaultSteps;
}

void TestEditModel::randomEventsAgreeWithTheModel() {
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    qInfo("seed %u, %d steps (TPE_EDITMODEL_SEED=%u repeats this run)", seed, steps, seed);

    QRandomGenerator paletteRandom(seed ^ 0x9e3779b9u);
    const Palette loaded = randomPalette(paletteRandom);
    LoadedEditor editor;
    QVERIFY(editor.load(fileBytes(loaded)));
    EditModel model(loaded);
    RandomSession session(seed, editor, model);
    QString difference = model.differences(editor);
    QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("after loading: ") + difference));

    QStringList recent;
    for (int i = 1; i <= steps; ++i) {
        recent << QStringLiteral("%1: %2").arg(i).arg(session.step());
        if (recent.size() > 12)
            recent.removeFirst();
        difference = model.differences(editor);
        if (!difference.isEmpty())
            QFAIL(qPrintable(QStringLiteral("seed %1, step %2: %3\nlast steps:\n  %4")
                                 .arg(seed)
                                 .arg(i)
                                 .arg(difference, recent.join(QStringLiteral("\n  ")))));
    }
    QVERIFY(editor.errors.isEmpty());

    const auto &seen = model.seen;
    qInfo("selected %d (armed %d), deselected %d (armed %d), Spread %d, fills %d, edits %d, "
          "positions outside %d",
          seen.selections, seen.armedSelections, seen.deselections, seen.armedDeselections,
          seen.spreads, seen.fills, seen.edits, seen.outside);
    if (steps >= defaultSteps)
        QVERIFY(seen.selections > 0 && seen.armedSelections > 0 && seen.deselections > 0 &&
                seen.armedDeselections > 0 && seen.fills > 0 && seen.edits > 0 && seen.outside > 0);
}

QTEST_MAIN(TestEditModel)
#include "tst_editmodel.moc"
