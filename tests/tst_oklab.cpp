#include "EntryRange.h"
#include "OkLab.h"
#include "RangeOperations.h"

#include <QTest>

#include <cmath>
#include <numbers>

using Colours = QList<QRgb>;
using Values = QList<double>;

namespace {
// `colour` through Adjust's hue, chroma and lightness gives `expected`; its OKLab point, where
// given, is `okLab`.
void row(const char *name, QRgb colour, QList<int> adjust, QRgb expected, Values okLab = {}) {
    QTest::newRow(name) << colour << adjust << (expected | 0xff000000u) << okLab;
}
} // namespace

// The colour arithmetic and the range tools, against OKLab's published values and colours worked
// out apart from this code, and the range the grid menu works on.
class TestOkLab : public QObject {
    Q_OBJECT

private slots:
    void colours_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QList<int>>("adjust");
        QTest::addColumn<QRgb>("expected");
        QTest::addColumn<Values>("okLab");
        const QList<int> start{0, 100, 0};
        row("white", 0xffffff, start, 0xffffff, {1, 0, 0});
        row("black", 0x000000, start, 0x000000, {0, 0, 0});
        row("red", 0xff0000, start, 0xff0000, {0.627955361, 0.224863061, 0.125846299});
        row("green", 0x00ff00, start, 0x00ff00, {0.866439612, -0.233887574, 0.179498480});
        row("grey", 0x808080, start, 0x808080, {0.599870802, 0, 0});
        row("orange back", 0xc87828, start, 0xc87828);
        row("hue +180", 0xc87828, {180, 100, 0}, 0x2b97d7);
        row("hue -180", 0xc87828, {-180, 100, 0}, 0x2b97d7);
        row("hue +90", 0x1ea0c8, {90, 100, 0}, 0xad7ac3);
        row("chroma 0", 0xc87828, {0, 0, 0}, 0x8e8e8e);
        row("chroma 0 blue", 0x1ea0c8, {0, 0, 0}, 0x919191);
        row("chroma 200", 0xc87828, {0, 200, 0}, 0xce7400);
        row("lightness +100", 0xc87828, {0, 100, 100}, 0xffffff);
        row("lightness -100", 0xc87828, {0, 100, -100}, 0x000000);
        // Clipped channels would give #4195ff and #ff6f59, hues visibly turned.
        row("lighter blue out of gamut", 0x0000ff, {0, 100, 30}, 0x85adff);
        row("lighter red out of gamut", 0xff0000, {0, 100, 20}, 0xffafa3);
        row("all three", 0x1ea0c8, {45, 150, -20}, 0x3448b9);
    }
    void colours() {
        QFETCH(QRgb, colour);
        QFETCH(QList<int>, adjust);
        QFETCH(QRgb, expected);
        QFETCH(Values, okLab);
        const OkLab in = okLabOf(colour);
        for (qsizetype i = 0; i < okLab.size(); ++i)
            QVERIFY2(std::abs(Values{in.L, in.a, in.b}[i] - okLab[i]) < 1e-6,
                     qPrintable(QString::number(Values{in.L, in.a, in.b}[i], 'f', 9)));
        const QRgb result = adjustColours({colour}, adjust[0], adjust[1], adjust[2]).first();
        QCOMPARE(result, expected);
        // Wherever some chroma is left, the hue is the one asked for, to within 8-bit rounding.
        const OkLab out = okLabOf(result);
        const double turn =
            std::atan2(in.b, in.a) + adjust[0] * std::numbers::pi / 180 - std::atan2(out.b, out.a);
        QVERIFY(std::hypot(out.a, out.b) < 0.02 ||
                std::abs(std::remainder(turn, 2 * std::numbers::pi)) < 0.01);
    }

    void everyColourComesBack() {
        // One colour in 7 here, one in 257 under the sanitizers; the benchmark tries all of them.
#ifdef TPE_SANITIZE_BUILD
        const QRgb stride = 257;
#else
        const QRgb stride = 7;
#endif
        Colours colours(4096);
        for (QRgb first = 0; first < 0x1000000u; first += 4096 * stride) {
            for (QRgb i = 0; i < 4096; ++i)
                colours[i] = 0xff000000u | ((first + i * stride) & 0xffffffu);
            const Colours back = adjustColours(colours, 0, 100, 0);
            for (qsizetype i = 0; i < colours.size(); ++i)
                if (back[i] != colours[i])
                    QFAIL(qPrintable(QString::number(colours[i] & 0xffffffu, 16)));
        }
    }

    void rangeTools_data() {
        QTest::addColumn<bool>("ramp"); // else reverse
        QTest::addColumn<Colours>("colours");
        QTest::addColumn<Colours>("expected");
        const QRgb k = 0xff000000u;
        QTest::newRow("ramp grey")
            << true << Colours{k, k, k, k, k | 0xffffff}
            << Colours{k, k | 0x222222, k | 0x636363, k | 0xaeaeae, k | 0xffffff};
        QTest::newRow("ramp red to blue")
            << true << Colours{k | 0xff0000, 1, 2, k | 0xff}
            << Colours{k | 0xff0000, k | 0xb34f80, k | 0x654ec2, k | 0xff};
        QTest::newRow("ramp of the ends alone") << true << Colours{1, 2} << Colours{1, 2};
        QTest::newRow("reverse") << false << Colours{1, 2, 3} << Colours{3, 2, 1};
    }
    void rangeTools() {
        QFETCH(bool, ramp);
        QFETCH(Colours, colours);
        QFETCH(Colours, expected);
        QCOMPARE(ramp ? rampColours(colours) : reverseColours(colours), expected);
    }

    void menuRange_data() {
        QTest::addColumn<bool>("anchorSet");
        QTest::addColumn<int>("anchorIndex");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("label");
        const auto add = [](bool set, int anchor, int entry, const char *label) {
            QTest::addRow("%d %d %d", set, anchor, entry) << set << anchor << entry << label;
        };
        add(false, 0, 1, "Entries 1\u201326 \u00b7 Dirt / Road Close");
        add(false, 0, 52, "Entries 27\u201352 \u00b7 Grass Close");
        add(false, 0, 105, "Entries 97\u2013105 \u00b7 Sand Far");
        add(false, 0, 106, "Entries 106\u2013256 \u00b7 Unknown");
        add(false, 10, 79, "Entries 79\u201387 \u00b7 Dirt / Road Far"); // a stale anchor
        add(true, 10, 40, "Entries 10\u201340");
        add(true, 256, 1, "Entries 1\u2013256");
        add(true, 90, 90, "Entries 88\u201396 \u00b7 Grass Far"); // on the selected entry
    }
    void menuRange() {
        QFETCH(bool, anchorSet);
        QFETCH(int, anchorIndex);
        QFETCH(int, entry);
        QFETCH(QString, label);
        QCOMPARE(rangeLabel(::menuRange(anchorSet, anchorIndex, entry)), label);
    }
};

QTEST_MAIN(TestOkLab)
#include "tst_oklab.moc"
