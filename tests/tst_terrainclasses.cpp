#include "EditorState.h"
#include "PackedColour.h"
#include "TerrainClasses.h"

#include <QTest>

class TestTerrainClasses : public QObject {
    Q_OBJECT

private slots:
    void classBoundaries_data();
    void classBoundaries();
    void everyEntryHasAClass();
    void packedColours_data();
    void packedColours();
    void stateStartsZeroed();
};

void TestTerrainClasses::classBoundaries_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("name");
    QTest::newRow("element 0") << 0 << QString();
    QTest::newRow("1") << 1 << "Dirt / Road Close";
    QTest::newRow("26") << 26 << "Dirt / Road Close";
    QTest::newRow("27") << 27 << "Grass Close";
    QTest::newRow("52") << 52 << "Grass Close";
    QTest::newRow("53") << 53 << "Sand Close";
    QTest::newRow("78") << 78 << "Sand Close";
    QTest::newRow("79") << 79 << "Dirt / Road Far";
    QTest::newRow("87") << 87 << "Dirt / Road Far";
    QTest::newRow("88") << 88 << "Grass Far";
    QTest::newRow("96") << 96 << "Grass Far";
    QTest::newRow("97") << 97 << "Sand Far";
    QTest::newRow("105") << 105 << "Sand Far";
    QTest::newRow("106") << 106 << "Unknown";
    QTest::newRow("256") << 256 << "Unknown";
}

void TestTerrainClasses::classBoundaries() {
    QFETCH(int, entry);
    QFETCH(QString, name);
    TerrainNames names;
    fillTerrainNames(names);
    QCOMPARE(names[entry], name);
}

void TestTerrainClasses::everyEntryHasAClass() {
    TerrainNames names;
    fillTerrainNames(names);
    QMap<QString, int> counts;
    for (int n = firstEntry; n <= lastEntry; ++n)
        ++counts[names[n]];
    QCOMPARE(counts.value("Dirt / Road Close"), 26);
    QCOMPARE(counts.value("Grass Close"), 26);
    QCOMPARE(counts.value("Sand Close"), 26);
    QCOMPARE(counts.value("Dirt / Road Far"), 9);
    QCOMPARE(counts.value("Grass Far"), 9);
    QCOMPARE(counts.value("Sand Far"), 9);
    QCOMPARE(counts.value("Unknown"), 151);
    QCOMPARE(counts.size(), 7);
}

void TestTerrainClasses::packedColours_data() {
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("packed");
    QTest::newRow("red") << 255 << 0 << 0 << 255;
    QTest::newRow("green") << 0 << 255 << 0 << 65280;
    QTest::newRow("blue") << 0 << 0 << 255 << 16711680;
    QTest::newRow("white") << 255 << 255 << 255 << 16777215;
    QTest::newRow("1,2,3") << 1 << 2 << 3 << 197121;
    QTest::newRow("unit red") << 1 << 0 << 0 << 1;
    QTest::newRow("unit green") << 0 << 1 << 0 << 256;
    QTest::newRow("unit blue") << 0 << 0 << 1 << 65536;
}

void TestTerrainClasses::packedColours() {
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(int, packed);
    QCOMPARE(packedColour(red, green, blue), packed);
}

void TestTerrainClasses::stateStartsZeroed() {
    const EditorState state;
    for (const auto &row : state.palette)
        for (int value : row)
            QCOMPARE(value, 0);
    QCOMPARE(state.pointerX, 0.0f);
    QCOMPARE(state.pointerY, 0.0f);
    QVERIFY(!state.anchorSet);
    QCOMPARE(state.spreadArmed, armedFalse);
    QVERIFY(!state.isSpreadArmed());
    QVERIFY(state.paletteFilePath.isEmpty());
    QVERIFY(state.candidatePath.isEmpty());
}

QTEST_GUILESS_MAIN(TestTerrainClasses)
#include "tst_terrainclasses.moc"
