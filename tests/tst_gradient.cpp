#include "EditorState.h"
#include "Gradient.h"
#include "PackedColour.h"

#include <QTest>

#include <cmath>

namespace {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// Every element, unused rows and the unused channel included, gets a value of its own, so a
// write anywhere it does not belong shows.
Palette sentinelPalette() {
    Palette palette{};
    for (int n = 0; n < 258; ++n)
        for (int c = 0; c < 5; ++c)
            palette[n][c] = 1000 + n * 5 + c;
    return palette;
}

void setEntry(Palette &palette, int entry, Rgb rgb) {
    palette[entry][redChannel] = rgb.red;
    palette[entry][greenChannel] = rgb.green;
    palette[entry][blueChannel] = rgb.blue;
    palette[entry][packedChannel] = packedColour(rgb.red, rgb.green, rgb.blue);
}

} // namespace

Q_DECLARE_METATYPE(Rgb)

class TestGradient : public QObject {
    Q_OBJECT

private slots:
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void fillsBetweenThePicks_data();
    void fillsBetweenThePicks();
    void neighboursAndEqualPicksChangeNothing_data();
    void neighboursAndEqualPicksChangeNothing();
    void fullSpanFromFirstToLastEntry();
};

void TestGradient::roundsHalvesToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("0.5 to even 0") << 0.5 << 0;
    QTest::newRow("1.5 to even 2") << 1.5 << 2;
    QTest::newRow("2.5 to even 2") << 2.5 << 2;
    QTest::newRow("3.5 to even 4") << 3.5 << 4;
    QTest::newRow("127.5 to even 128") << 127.5 << 128;
    QTest::newRow("254.5 to even 254") << 254.5 << 254;
    QTest::newRow("just above 0.5") << std::nextafter(0.5, 1.0) << 1;
    QTest::newRow("just below 0.5") << std::nextafter(0.5, 0.0) << 0;
    QTest::newRow("just above 2.5") << std::nextafter(2.5, 3.0) << 3;
    QTest::newRow("just below 1.5") << std::nextafter(1.5, 1.0) << 1;
    QTest::newRow("0.4999") << 0.4999 << 0;
    QTest::newRow("1.2") << 1.2 << 1;
    QTest::newRow("1.7") << 1.7 << 2;
    QTest::newRow("255") << 255.0 << 255;
}

void TestGradient::roundsHalvesToEven() {
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(roundHalfToEven(value), rounded);
}

void TestGradient::fillsBetweenThePicks_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("target");
    QTest::addColumn<Rgb>("anchorColour");
    QTest::addColumn<Rgb>("targetColour");
    // The entries strictly between the picks, from the lower one up.
    QTest::addColumn<QList<Rgb>>("between");

    QTest::newRow("rising red 10 to 14") << 10 << 14 << Rgb{0, 7, 9} << Rgb{100, 7, 9}
                                         << QList<Rgb>{{25, 7, 9}, {50, 7, 9}, {75, 7, 9}};
    QTest::newRow("rising red, picked 14 then 10")
        << 14 << 10 << Rgb{100, 7, 9} << Rgb{0, 7, 9}
        << QList<Rgb>{{25, 7, 9}, {50, 7, 9}, {75, 7, 9}};
    QTest::newRow("falling red 10 to 14") << 10 << 14 << Rgb{100, 0, 0} << Rgb{0, 0, 0}
                                          << QList<Rgb>{{75, 0, 0}, {50, 0, 0}, {25, 0, 0}};
    QTest::newRow("channels apart, blue equal")
        << 1 << 4 << Rgb{0, 255, 10} << Rgb{30, 0, 10} << QList<Rgb>{{10, 170, 10}, {20, 85, 10}};
    QTest::newRow("channels apart, picked 4 then 1")
        << 4 << 1 << Rgb{30, 0, 10} << Rgb{0, 255, 10} << QList<Rgb>{{10, 170, 10}, {20, 85, 10}};
    QTest::newRow("half 2.5 to even 2")
        << 10 << 12 << Rgb{0, 0, 0} << Rgb{5, 0, 0} << QList<Rgb>{{2, 0, 0}};
    QTest::newRow("halves 0.5 and 1.5 to even")
        << 10 << 14 << Rgb{0, 0, 0} << Rgb{2, 0, 0} << QList<Rgb>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
    QTest::newRow("falling half 127.5 to even 128")
        << 10 << 12 << Rgb{255, 0, 0} << Rgb{0, 0, 0} << QList<Rgb>{{128, 0, 0}};
    // Three additions of -1/6 to 1 land one unit in the last place above 0.5, so entry 13
    // keeps 1 where 1 - 3/6 rounded half to even would give 0.
    QTest::newRow("accumulated near-half 1 to 0")
        << 10 << 16 << Rgb{1, 1, 1} << Rgb{0, 0, 0}
        << QList<Rgb>{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}};
    QTest::newRow("accumulated near-half, picked 16 then 10")
        << 16 << 10 << Rgb{0, 0, 0} << Rgb{1, 1, 1}
        << QList<Rgb>{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}};
    QTest::newRow("one above the other, 5 and 21")
        << 5 << 21 << Rgb{0, 150, 255} << Rgb{160, 0, 255}
        << QList<Rgb>{{10, 141, 255}, {20, 131, 255}, {30, 122, 255}, {40, 112, 255},
                      {50, 103, 255}, {60, 94, 255},  {70, 84, 255},  {80, 75, 255},
                      {90, 66, 255},  {100, 56, 255}, {110, 47, 255}, {120, 38, 255},
                      {130, 28, 255}, {140, 19, 255}, {150, 9, 255}};
}

void TestGradient::fillsBetweenThePicks() {
    QFETCH(int, anchor);
    QFETCH(int, target);
    QFETCH(Rgb, anchorColour);
    QFETCH(Rgb, targetColour);
    QFETCH(QList<Rgb>, between);

    Palette palette = sentinelPalette();
    setEntry(palette, anchor, anchorColour);
    setEntry(palette, target, targetColour);
    Palette expected = palette;
    const int low = std::min(anchor, target);
    QCOMPARE(std::max(anchor, target) - low - 1, between.size());
    for (int k = 0; k < between.size(); ++k)
        setEntry(expected, low + 1 + k, between[k]);

    fillGradient(palette, anchor, target);

    for (int n = 0; n < 258; ++n)
        for (int c = 0; c < 5; ++c)
            if (palette[n][c] != expected[n][c])
                QFAIL(qPrintable(QStringLiteral("entry %1 channel %2 is %3, expected %4")
                                     .arg(n)
                                     .arg(c)
                                     .arg(palette[n][c])
                                     .arg(expected[n][c])));
}

void TestGradient::neighboursAndEqualPicksChangeNothing_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("target");
    QTest::newRow("side by side 40, 41") << 40 << 41;
    QTest::newRow("side by side 41, 40") << 41 << 40;
    QTest::newRow("end of a row 16, next row 17") << 16 << 17;
    QTest::newRow("17, 16") << 17 << 16;
    QTest::newRow("equal 30, 30") << 30 << 30;
    QTest::newRow("last two 255, 256") << 255 << 256;
}

void TestGradient::neighboursAndEqualPicksChangeNothing() {
    QFETCH(int, anchor);
    QFETCH(int, target);
    Palette palette = sentinelPalette();
    setEntry(palette, anchor, {0, 0, 0});
    setEntry(palette, target, {255, 255, 255});
    const Palette before = palette;
    fillGradient(palette, anchor, target);
    QVERIFY(palette == before);
}

void TestGradient::fullSpanFromFirstToLastEntry() {
    // Red rises by exactly 1 and green falls by exactly 1 per entry; blue's step 51/255 = 0.2
    // is inexact, but no entry lies near a half, so plain rounding is the right answer.
    Palette palette = sentinelPalette();
    setEntry(palette, 1, {0, 255, 0});
    setEntry(palette, 256, {255, 0, 51});
    const Palette before = palette;

    fillGradient(palette, 256, 1);

    for (int n = 1; n <= 256; ++n) {
        const int blue = n == 1 ? 0 : n == 256 ? 51 : static_cast<int>(std::lround((n - 1) / 5.0));
        const Rgb want{n - 1, 256 - n, blue};
        QCOMPARE(palette[n][redChannel], want.red);
        QCOMPARE(palette[n][greenChannel], want.green);
        QCOMPARE(palette[n][blueChannel], want.blue);
        QCOMPARE(palette[n][packedChannel], packedColour(want.red, want.green, want.blue));
        QCOMPARE(palette[n][4], before[n][4]);
    }
    QVERIFY(palette[0] == before[0]);
    QVERIFY(palette[257] == before[257]);
}

QTEST_APPLESS_MAIN(TestGradient)
#include "tst_gradient.moc"
