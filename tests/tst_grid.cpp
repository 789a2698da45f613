#include "PackedColour.h"
#include "PaletteExpectations.h"
#include "PaletteGrid.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QRgb rgbOfEntry(const Palette &palette, int entry) {
    return qRgb(palette[entry][redChannel], palette[entry][greenChannel],
                palette[entry][blueChannel]);
}

bool onBorder(const QRect &rect, int x, int y) {
    return rect.contains(x, y) &&
           (x == rect.left() || x == rect.right() || y == rect.top() || y == rect.bottom());
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT

private slots:
    void pointMapsToCellAndEntry_data();
    void pointMapsToCellAndEntry();
    void entryMapsToItsCell_data();
    void entryMapsToItsCell();
    void everyEntryRoundTripsThroughItsCell();
    void pointerPositionsArriveInGridPixels();
    void fillCoversExactlyTheCell_data();
    void fillCoversExactlyTheCell();
    void outlineIsTheCellsOwnBorder_data();
    void outlineIsTheCellsOwnBorder();
    void secondToggleRestoresEveryPixel_data();
    void secondToggleRestoresEveryPixel();
    void fillErasesAnOutline();
    void redrawPaintsEveryCellAndNoOutline();
    void samePaletteRedrawsAsOneEvenSquare();
    void pictureSurvivesHideAndShow();
    void scalesWithoutSmoothingOnHighDpi();
};

void TestGrid::pointMapsToCellAndEntry_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("entry");

    QTest::newRow("origin") << 0.0f << 0.0f << 0 << 0 << 1;
    QTest::newRow("15.9 still column 0") << 15.9f << 0.0f << 0 << 0 << 1;
    QTest::newRow("16 is column 1") << 16.0f << 0.0f << 1 << 0 << 2;
    QTest::newRow("31.9 floors, not rounds") << 31.9f << 0.0f << 1 << 0 << 2;
    QTest::newRow("32 is column 2") << 32.0f << 0.0f << 2 << 0 << 3;
    QTest::newRow("last of row 0") << 255.0f << 15.9f << 15 << 0 << 16;
    QTest::newRow("row wraps to 17") << 0.0f << 16.0f << 0 << 1 << 17;
    QTest::newRow("far corner") << 255.5f << 255.5f << 15 << 15 << 256;
    QTest::newRow("x and y not swapped") << 40.0f << 200.0f << 2 << 12 << 195;
}

void TestGrid::pointMapsToCellAndEntry() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, entry);

    const Cell cell = cellOfPoint(x, y);
    QCOMPARE(cell.column, column);
    QCOMPARE(cell.row, row);
    QCOMPARE(entryOfCell(cell), entry);
    QVERIFY(isInsideGrid(x, y));
}

void TestGrid::entryMapsToItsCell_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRect>("pixels");

    QTest::newRow("1 top left") << 1 << 0 << 0 << QRect(0, 0, 16, 16);
    QTest::newRow("16 top right") << 16 << 15 << 0 << QRect(240, 0, 16, 16);
    QTest::newRow("17 second row") << 17 << 0 << 1 << QRect(0, 16, 16, 16);
    QTest::newRow("256 bottom right") << 256 << 15 << 15 << QRect(240, 240, 16, 16);
}

void TestGrid::entryMapsToItsCell() {
    QFETCH(int, entry);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QRect, pixels);

    const Cell cell = cellOfEntry(entry);
    QCOMPARE(cell, (Cell{column, row}));
    QCOMPARE(cellRect(cell), pixels);
    QCOMPARE(entryOfCell(cell), entry);
}

void TestGrid::everyEntryRoundTripsThroughItsCell() {
    QSet<QPoint> seen;
    for (int entry = firstEntry; entry <= lastEntry; ++entry) {
        const Cell cell = cellOfEntry(entry);
        QVERIFY(cell.column >= 0 && cell.column < gridCells);
        QVERIFY(cell.row >= 0 && cell.row < gridCells);
        QCOMPARE(entryOfCell(cell), entry);
        // Any point of the cell's pixels leads back to the same entry.
        const QRect rect = cellRect(cell);
        QCOMPARE(entryOfCell(cellOfPoint(rect.left(), rect.top())), entry);
        QCOMPARE(entryOfCell(cellOfPoint(rect.right() + 0.99f, rect.bottom() + 0.99f)), entry);
        seen.insert({cell.column, cell.row});
    }
    QCOMPARE(seen.size(), entryCount);
}

void TestGrid::pointerPositionsArriveInGridPixels() {
    PaletteGrid pic;
    pic.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pic));
    QSignalSpy moved(&pic, &PaletteGrid::pointerMoved);
    QTest::mouseMove(&pic, QPoint(20, 35));
    QTest::mouseMove(&pic, QPoint(255, 0));
    QCOMPARE(moved.size(), 2);
    QCOMPARE(moved[0][0].toFloat(), 20.0f);
    QCOMPARE(moved[0][1].toFloat(), 35.0f);
    QCOMPARE(moved[1][0].toFloat(), 255.0f);
    QCOMPARE(moved[1][1].toFloat(), 0.0f);
}

void TestGrid::fillCoversExactlyTheCell_data() {
    QTest::addColumn<int>("entry");
    QTest::newRow("1") << 1;
    QTest::newRow("16") << 16;
    QTest::newRow("17") << 17;
    QTest::newRow("256") << 256;
}

void TestGrid::fillCoversExactlyTheCell() {
    QFETCH(int, entry);
    PaletteGrid pic;
    const Palette palette = distinctPalette();
    pic.redrawGrid(palette);
    const QImage before = pic.image();

    const Cell cell = cellOfEntry(entry);
    pic.fillCell(cell, packedColour(1, 2, 3));
    const QRect rect = cellRect(cell);
    for (int y = 0; y < gridPixels; ++y)
        for (int x = 0; x < gridPixels; ++x) {
            const QRgb expected = rect.contains(x, y) ? qRgb(1, 2, 3) : before.pixel(x, y);
            if (pic.image().pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) wrong").arg(x).arg(y)));
        }
}

void TestGrid::outlineIsTheCellsOwnBorder_data() { fillCoversExactlyTheCell_data(); }

void TestGrid::outlineIsTheCellsOwnBorder() {
    QFETCH(int, entry);
    PaletteGrid pic;
    const Palette palette = distinctPalette();
    pic.redrawGrid(palette);
    const QImage before = pic.image();

    const Cell cell = cellOfEntry(entry);
    pic.toggleHighlight(cell);
    const QRect rect = cellRect(cell);
    int inverted = 0;
    for (int y = 0; y < gridPixels; ++y)
        for (int x = 0; x < gridPixels; ++x) {
            // Exclusive-or with white inverts red, green and blue and keeps the pixel opaque.
            const QRgb old = before.pixel(x, y);
            const QRgb expected = onBorder(rect, x, y) ? (old ^ 0x00ffffffu) : old;
            if (pic.image().pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) wrong").arg(x).arg(y)));
            inverted += expected != old;
        }
    // 16 pixels a side, corners once.
    QCOMPARE(inverted, 4 * 15);
}

void TestGrid::secondToggleRestoresEveryPixel_data() {
    fillCoversExactlyTheCell_data();
    QTest::newRow("middle") << 120;
}

void TestGrid::secondToggleRestoresEveryPixel() {
    QFETCH(int, entry);
    PaletteGrid pic;
    pic.redrawGrid(distinctPalette());
    const QImage before = pic.image();

    pic.toggleHighlight(cellOfEntry(entry));
    QVERIFY(pic.image() != before);
    pic.toggleHighlight(cellOfEntry(entry));
    QCOMPARE(firstDifference(pic.image(), before), QString());
}

void TestGrid::fillErasesAnOutline() {
    PaletteGrid pic;
    const Palette palette = distinctPalette();
    pic.redrawGrid(palette);
    const QImage before = pic.image();

    // Refilled in its own colour, an outlined cell is back to exactly what it was.
    const Cell cell = cellOfEntry(18);
    pic.toggleHighlight(cell);
    pic.fillCell(cell, palette[18][packedChannel]);
    QCOMPARE(firstDifference(pic.image(), before), QString());

    // Refilled in a new colour, every pixel of the cell takes it, the border included.
    pic.toggleHighlight(cell);
    pic.fillCell(cell, packedColour(200, 100, 50));
    const QRect rect = cellRect(cell);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            QCOMPARE(pic.image().pixel(x, y), qRgb(200, 100, 50));
}

void TestGrid::redrawPaintsEveryCellAndNoOutline() {
    PaletteGrid pic;
    pic.redrawGrid(distinctPalette());
    for (const int entry : {1, 16, 17, 100, 256})
        pic.toggleHighlight(cellOfEntry(entry));
    pic.fillCell(cellOfEntry(50), white);

    // A changed palette: every entry moves to another colour.
    Palette changed = distinctPalette();
    for (int n = firstEntry; n <= lastEntry; ++n) {
        auto &row = changed[n];
        row = {0, row[blueChannel], row[redChannel], 255 - row[greenChannel], 0};
        row[packedChannel] = packedColour(row[redChannel], row[greenChannel], row[blueChannel]);
    }
    pic.redrawGrid(changed);
    for (int y = 0; y < gridPixels; ++y)
        for (int x = 0; x < gridPixels; ++x) {
            const int entry = entryOfCell(cellOfPoint(x, y));
            if (pic.image().pixel(x, y) != rgbOfEntry(changed, entry))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) not entry %3's colour")
                                     .arg(x)
                                     .arg(y)
                                     .arg(entry)));
        }
}

void TestGrid::samePaletteRedrawsAsOneEvenSquare() {
    Palette palette{};
    for (int n = firstEntry; n <= lastEntry; ++n)
        palette[n] = {packedColour(90, 140, 60), 90, 140, 60, 0};
    PaletteGrid pic;
    pic.redrawGrid(distinctPalette());
    pic.redrawGrid(palette);
    QImage even(gridPixels, gridPixels, QImage::Format_RGB32);
    even.fill(qRgb(90, 140, 60));
    QCOMPARE(firstDifference(pic.image(), even), QString());
}

void TestGrid::pictureSurvivesHideAndShow() {
    QWidget window;
    auto *pic = new PaletteGrid(&window);
    pic->move(8, 8);
    window.resize(272, 272);
    pic->redrawGrid(distinctPalette());
    pic->toggleHighlight(cellOfEntry(40));
    const QImage drawn = pic->image();

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(firstDifference(pic->grab().toImage().convertToFormat(QImage::Format_RGB32), drawn),
             QString());

    window.hide();
    window.showMinimized();
    window.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(firstDifference(pic->image(), drawn), QString());
    // What the window shows is the retained picture, outline included, at the grid's place.
    const QImage shown = window.grab(QRect(8, 8, gridPixels, gridPixels))
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(firstDifference(shown, drawn), QString());
}

void TestGrid::scalesWithoutSmoothingOnHighDpi() {
    PaletteGrid pic;
    pic.redrawGrid(distinctPalette());
    pic.toggleHighlight(cellOfEntry(18));
    // A screen with two device pixels per pixel: each pixel becomes a 2 x 2 block of its own
    // colour, with no blending across cell borders or the outline.
    QImage screen(2 * gridPixels, 2 * gridPixels, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2);
    screen.fill(Qt::black);
    pic.render(&screen);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != pic.image().pixel(x / 2, y / 2))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) wrong").arg(x).arg(y)));
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
