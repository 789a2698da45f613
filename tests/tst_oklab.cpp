#include "EntryRange.h"
#include "OkLab.h"
#include "RangeOperations.h"

#include <QTest>

#include <cmath>
#include <numbers>

using Colours = QList<QRgb>;

// The colour arithmetic and the range tools, against OKLab's published values and colours worked
// out apart from this code, and the range the grid menu works on.
class TestOkLab : public QObject {
    Q_OBJECT

private slots:
    void colours_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QList<double>>("okLab"); // L, a, b; empty: not checked
        QTest::addColumn<QList<int>>("adjust");   // hue, chroma, lightness
        QTest::addColumn<QRgb>("expected");
        const QList<int> start{0, 100, 0};
        QTest::newRow("white") << 0xffffffu << QList{1.0, 0.0, 0.0} << start << 0xffffffu;
        QTest::newRow("black") << 0x000000u << QList{0.0, 0.0, 0.0} << start << 0x000000u;
        QTest::newRow("red") << 0xff0000u << QList{0.627955361, 0.224863061, 0.125846299} << start
                             << 0xff0000u;
        QTest::newRow("green") << 0x00ff00u << QList{0.866439612, -0.233887574, 0.179498480}
                               << start << 0x00ff00u;
        QTest::newRow("grey") << 0x808080u << QList{0.599870802, 0.0, 0.0} << start << 0x808080u;
        QTest::newRow("orange back") << 0xc87828u << QList<double>{} << start << 0xc87828u;
        QTest::newRow("hue +180") << 0xc87828u << QList<double>{} << QList{180, 100, 0}
                                  << 0x2b97d7u;
        QTest::newRow("hue -180") << 0xc87828u << QList<double>{} << QList{-180, 100, 0}
                                  << 0x2b97d7u;
        QTest::newRow("hue +90") << 0x1ea0c8u << QList<double>{} << QList{90, 100, 0} << 0xad7ac3u;
        QTest::newRow("chroma 0") << 0xc87828u << QList<double>{} << QList{0, 0, 0} << 0x8e8e8eu;
        QTest::newRow("chroma 0 blue")
            << 0x1ea0c8u << QList<double>{} << QList{0, 0, 0} << 0x919191u;
        QTest::newRow("chroma 200")
            << 0xc87828u << QList<double>{} << QList{0, 200, 0} << 0xce7400u;
        QTest::newRow("lightness +100")
            << 0xc87828u << QList<double>{} << QList{0, 100, 100} << 0xffffffu;
        QTest::newRow("lightness -100")
            << 0xc87828u << QList<double>{} << QList{0, 100, -100} << 0x000000u;
        // Clipped channels would give #4195ff and #ff6f59, hues visibly turned.
        QTest::newRow("lighter blue out of gamut")
            << 0x0000ffu << QList<double>{} << QList{0, 100, 30} << 0x85adffu;
        QTest::newRow("lighter red out of gamut")
            << 0xff0000u << QList<double>{} << QList{0, 100, 20} << 0xffafa3u;
        QTest::newRow("all three")
            << 0x1ea0c8u << QList<double>{} << QList{45, 150, -20} << 0x3448b9u;
    }
    void colours() {
        QFETCH(QRgb, colour);
        QFETCH(QList<double>, okLab);
        QFETCH(QList<int>, adjust);
        QFETCH(QRgb, expected);
        const OkLab point = okLabOf(colour);
        for (qsizetype i = 0; i < okLab.size(); ++i)
            QVERIFY2(std::abs(QList{point.L, point.a, point.b}[i] - okLab[i]) < 1e-6,
                     qPrintable(QString::number(QList{point.L, point.a, point.b}[i], 'f', 9)));
        const QRgb result = adjustColours({colour}, adjust[0], adjust[1], adjust[2]).first();
        QCOMPARE(result, expected | 0xff000000u);
        // Wherever some chroma is left, the hue is the one asked for, to within 8-bit rounding.
        const OkLab out = okLabOf(result);
        if (std::hypot(out.a, out.b) > 0.02) {
            const double turn = std::atan2(point.b, point.a) + adjust[0] * std::numbers::pi / 180 -
                                std::atan2(out.b, out.a);
            QVERIFY2(std::abs(std::remainder(turn, 2 * std::numbers::pi)) < 0.01,
                     qPrintable(QString::number(turn)));
        }
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
        QTest::addColumn<QString>("tool");
        QTest::addColumn<Colours>("colours");
        QTest::addColumn<Colours>("expected");
        const Colours ends{0xffff0000u, 0xff00ff00u};
        QTest::newRow("ramp grey")
            << "ramp" << Colours{0xff000000u, 0xff000000u, 0xff000000u, 0xff000000u, 0xffffffffu}
            << Colours{0xff000000u, 0xff222222u, 0xff636363u, 0xffaeaeaeu, 0xffffffffu};
        QTest::newRow("ramp red to blue")
            << "ramp" << Colours{0xffff0000u, 1, 2, 0xff0000ffu}
            << Colours{0xffff0000u, 0xffb34f80u, 0xff654ec2u, 0xff0000ffu};
        QTest::newRow("ramp of the ends alone") << "ramp" << ends << ends;
        QTest::newRow("reverse") << "reverse" << Colours{1, 2, 3} << Colours{3, 2, 1};
    }
    void rangeTools() {
        QFETCH(QString, tool);
        QFETCH(Colours, colours);
        QFETCH(Colours, expected);
        QCOMPARE(tool == "ramp" ? rampColours(colours) : reverseColours(colours), expected);
    }

    void menuRange_data() {
        QTest::addColumn<bool>("anchorSet");
        QTest::addColumn<int>("anchorIndex");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("label");
        QTest::newRow("class of 1")
            << false << 0 << 1 << "Entries 1\u201326 \u00b7 Dirt / Road Close";
        QTest::newRow("class of 52") << false << 0 << 52 << "Entries 27\u201352 \u00b7 Grass Close";
        QTest::newRow("class of 105") << false << 0 << 105 << "Entries 97\u2013105 \u00b7 Sand Far";
        QTest::newRow("class of 106") << false << 0 << 106 << "Entries 106\u2013256 \u00b7 Unknown";
        QTest::newRow("stale anchor")
            << false << 10 << 79 << "Entries 79\u201387 \u00b7 Dirt / Road Far";
        QTest::newRow("selected below") << true << 10 << 40 << "Entries 10\u201340";
        QTest::newRow("selected above") << true << 256 << 1 << "Entries 1\u2013256";
        QTest::newRow("on the selected")
            << true << 90 << 90 << "Entries 88\u201396 \u00b7 Grass Far";
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
