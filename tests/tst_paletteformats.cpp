#include "PaletteExpectations.h"
#include "PaletteFile.h"
#include "PaletteFormats.h"
#include "TerrainClasses.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(PaletteFormat)

namespace {

// Colours as the rows write them: "rrggbb" each, "aarrggbb" where not opaque, blank-separated.
QString hex(const QList<QRgb> &colours) {
    QStringList words;
    for (const QRgb colour : colours)
        words << (qAlpha(colour) == 255
                      ? QString::number(colour & 0xffffff, 16).rightJustified(6, '0')
                      : QString::number(colour, 16).rightJustified(8, '0'));
    return words.join(' ');
}

// The colours of distinctPalette(), entry 1 first: fileBytes() of it is their colour table.
QList<QRgb> distinct() {
    const Palette palette = distinctPalette();
    QList<QRgb> colours;
    for (int n = 1; n <= 256; ++n)
        colours << qRgb(palette[n][1], palette[n][2], palette[n][3]);
    return colours;
}

QByteArray encoded(const QImage &image, const char *format = "png") {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// An indexed image with the given colour table, every pixel index 0.
QImage indexed(const QList<QRgb> &table) {
    QImage image(4, 4, QImage::Format_Indexed8);
    image.setColorTable(table);
    image.fill(0);
    return image;
}

// columns × rows squares of side, each square's middle pixel colours[n] and every other pixel
// white with alpha 0 at the middles, so a pixel sampled elsewhere or with alpha shows.
QImage squares(const QList<QRgb> &colours, int side, int columns, int rows) {
    QImage image(side * columns, side * rows, QImage::Format_ARGB32);
    image.fill(Qt::white);
    for (int n = 0; n < columns * rows; ++n)
        image.setPixel(side * (n % columns) + side / 2, side * (n / columns) + side / 2,
                       colours[n] & 0x00ffffff);
    return image;
}

// A RIFF palette (the RIFF size left 0): a 3-byte chunk padded to 4, then the data chunk with
// the version and count (16 bits each, little-endian) and two entries.
QByteArray riff(const QByteArray &versionAndCount) {
    return "RIFF\0\0\0\0PAL junk\3\0\0\0abc\0data\x0c\0\0\0"_qba + versionAndCount +
           "\x01\x02\x03\0\xfa\xfb\xfc\x01"_qba;
}

// A GIF's signature and a 1 × 1 logical screen with the given flags, then the bytes that follow.
QByteArray gif(quint8 flags, const QByteArray &rest) {
    return "GIF89a\1\0\1\0"_qba + char(flags) + "\0\0"_qba + rest;
}

} // namespace

class TestPaletteFormats : public QObject {
    Q_OBJECT

private slots:
    void readsEachFormat_data();
    void readsEachFormat();
    void writesEachFormatAndReadsItBack_data();
    void writesEachFormatAndReadsItBack();
    void sixBitPalettes();
    void readsFilesAsLoadingDoes_data();
    void readsFilesAsLoadingDoes();
};

void TestPaletteFormats::readsEachFormat_data() {
    // expected: the colours read, as hex(), or the whole error for the source "in".
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QByteArray &bytes, const QString &expected) {
        QTest::newRow(name) << bytes << expected;
    };
    const QList<QRgb> all = distinct();
    const QByteArray table = fileBytes(distinctPalette());
    const QString notAPalette = "in is not a palette file the editor reads.";
    row("table", table, hex(all));
    row("table with count 2", table + "\0\x02\x05\0"_qba, hex(all.first(2)));
    row("table with count 0", table + QByteArray(4, '\0'), hex(all));
    row("table with count 257", table + "\x01\x01\0\0"_qba, hex(all));
    row("table starting BM", "BM" + table.sliced(2), "424d" + hex(all).sliced(4));
    row("769 bytes", table + 'x', notAPalette);

    row("JASC", "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n4\t5 6 255\r\nmore\r\n", "010203 040506");
    row("JASC, mark, LF", "\xEF\xBB\xBFJASC-PAL\n0100\n1\n255 0 0", "ff0000");
    row("JASC short", "JASC-PAL\n0100\n3\n1 2 3\n", "in, line 5: colour 2 of 3 is missing.");
    row("JASC, no version", "JASC-PAL", "in, line 2: the version 0100 is missing.");
    row("JASC version", "JASC-PAL\n0200\n", "in, line 2: '0200' is not version 0100.");
    row("JASC, no count", "JASC-PAL\n0100\n", "in, line 3: the colour count is missing.");
    row("JASC -1", "JASC-PAL\n0100\n-1\n", "in, line 3: -1 is not a colour count (1 to 256).");
    row("JASC 257", "JASC-PAL\n0100\n257\n", "in, line 3: 257 is not a colour count (1 to 256).");
    row("JASC x", "JASC-PAL\n0100\nx\n", "in, line 3: 'x' is not a colour count (1 to 256).");
    row("JASC, CR, five numbers", "JASC-PAL\r0100\r1\r1 2 3 4 5\r",
        "in, line 4: '1 2 3 4 5' is not a colour.");

    row("GIMP", "GIMP Palette\nName: x\nColumns: 4\n# 1 2\n\n  0  12 200\t27 Grass Close\n1 2 3",
        "000cc8 010203");
    row("GIMP RGBA", "GIMP Palette\r\nChannels: RGBA\r\n\r\n1 2 3 4 5 6\r\n", "010203");
    row("GIMP alpha 256", "GIMP Palette\nChannels: RGBA\n1 2 3 256\n",
        "in, line 3: 256 is not a channel value (0 to 255).");
    row("GIMP -6", "GIMP Palette\r\n\r\n1 2 3\r\n4 5 -6\r\n",
        "in, line 4: -6 is not a channel value (0 to 255).");
    row("GIMP two numbers", "GIMP Palette\n#\n1 2\n", "in, line 3: '1 2' is not a colour.");
    row("GIMP word", "GIMP Palette\n1 2 x\n", "in, line 2: '1 2 x' is not a colour.");
    row("GIMP name after colours", "GIMP Palette\n1 2 3\nName: x",
        "in, line 3: 'Name: x' is not a colour.");
    row("GIMP CMYK", "GIMP Palette\nChannels: CMYK\n",
        "in, line 2: 'CMYK' is not a channel layout (RGB or RGBA).");
    row("GIMP empty", "GIMP Palette\nName: empty\n#\n", "in is a palette with no colours.");

    row("hex", "; paint.net\n\nFF102030\n#A0B0C0\n d0e0f0 \n", "102030 a0b0c0 d0e0f0");
    row("hex, # and 8 digits", "ffffff\n#ff00ff00\n", "in, line 2: '#ff00ff00' is not a colour.");
    row("hex, mark, CR LF", "\xEF\xBB\xBF\r\n;x\r\n123456\r\n12345\r\n",
        "in, line 4: '12345' is not a colour.");
    row("hex, long line", "ffffff\n" + QByteArray(50, 'g'),
        "in, line 2: 'gggggggggggggggggggggggggggggggggggggggg…' is not a colour.");
    row("comment, then no colour", "; x\ngrass\nffffff\n", notAPalette);

    row("Microsoft", riff("\0\3\2\0"_qba), "010203 fafbfc");
    row("Microsoft version", riff("\0\2\2\0"_qba),
        "in is a Microsoft palette of version 0x0200; the editor reads version 0x0300.");
    row("Microsoft short", riff("\0\3\3\0"_qba), "in is a Microsoft palette cut short.");
    row("Microsoft, no data", "RIFF\0\0\0\0PAL junk\xff\xff\xff\xff\1\2\3\0"_qba,
        "in is a Microsoft palette without colour data.");

    const QList<QRgb> three{qRgb(1, 2, 3), qRgb(1, 2, 3), qRgba(200, 0, 0, 100)};
    row("PNG, indexed", encoded(indexed(three)), "010203 010203 c80000");
    row("PNG, grid of 3", encoded(squares(all, 3, 16, 16)), hex(all));
    row("BMP, grid of 1", encoded(squares(all, 1, 16, 16), "bmp"), hex(all));
    row("PNG, 3 squares", encoded(squares(three, 5, 3, 1)), "010203 010203 c80000");
    row("PNG, 1 square", encoded(squares(three, 10, 1, 1)), "010203");
    row("30 × 20", encoded(squares(all, 10, 3, 2)), "in is 30 × 20 pixels: not a palette image.");
    row("257 × 1", encoded(squares(all + all, 1, 257, 1)),
        "in is 257 × 1 pixels: not a palette image.");
    row("9000 × 1", encoded(QImage(9000, 1, QImage::Format_Mono)),
        "in is 9000 × 1 pixels: too large for a palette image.");
    row("4097 × 4097", encoded(QImage(4097, 4097, QImage::Format_Mono)),
        "in is 4097 × 4097 pixels: too large for a palette image.");
    row("PNG damaged", encoded(indexed(three)).first(40), "in is an image that cannot be read.");
    row("GIF, global table", gif(0x81, "\1\2\3\4\5\6\7\x08\x09\xa\xb\xc"),
        "010203 040506 070809 0a0b0c");
    row("GIF, table cut short", gif(0x87, "\1\2\3"), "in is an image that cannot be read.");
    // The smallest GIF there is: one pixel, coloured from its own local table.
    row("GIF, local table", gif(0, ",\0\0\0\0\1\0\1\0\x80\x10\x20\x30\0\0\0\2\2D\1\0;"_qba),
        "102030");
}

void TestPaletteFormats::readsEachFormat() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const PaletteRead read = readPaletteBytes(bytes, QStringLiteral("in"));
    QCOMPARE(read.error + hex(read.colours), expected); // never both an error and colours
    QCOMPARE(read.fromColourTable, QByteArray(QTest::currentDataTag()).startsWith("table"));
}

void TestPaletteFormats::writesEachFormatAndReadsItBack_data() {
    // The first and last bytes written for distinct(), and the size (0: any).
    QTest::addColumn<PaletteFormat>("format");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    const auto row = [](const char *name, PaletteFormat format, int size, const QByteArray &start,
                        const QByteArray &end) {
        QTest::newRow(name) << format << size << start << end;
    };
    row("GIMP", PaletteFormat::gimp, 0,
        "GIMP Palette\nName: europe\nColumns: 16\n#\n 14 129  60\t1 Dirt / Road Close\n",
        "  3 100   7\t256 Unknown\n");
    row("JASC", PaletteFormat::jasc, 0, "JASC-PAL\r\n0100\r\n256\r\n14 129 60\r\n",
        "\r\n3 100 7\r\n");
    row("Microsoft", PaletteFormat::microsoft, 1048,
        "RIFF\x10\x04\0\0PAL data\x04\x04\0\0\0\x03\0\x01\x0e\x81\x3c\0"_qba, "\x03\x64\x07\0"_qba);
    row("hex", PaletteFormat::hexList, 256 * 7, "0e813c\n", "\n036407\n");
    row("table", PaletteFormat::colourTable, 768, "\x0e\x81\x3c", "\x03\x64\x07");
    row("PNG", PaletteFormat::png, 0, "\x89PNG", "");
}

void TestPaletteFormats::writesEachFormatAndReadsItBack() {
    QFETCH(PaletteFormat, format);
    QFETCH(int, size);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    TerrainNames names;
    fillTerrainNames(names);
    const QByteArray bytes = writePaletteBytes(distinct(), format, names);
    QVERIFY(size == 0 || bytes.size() == size);
    QVERIFY2(bytes.startsWith(start) && bytes.endsWith(end), bytes.left(100).toHex().constData());
    QCOMPARE(readPaletteBytes(bytes, QStringLiteral("out")).colours, distinct());
    // The PNG shows the grid: each 16 × 16 cell holds its entry's index.
    const QImage image = QImage::fromData(bytes);
    for (int y = 0; format == PaletteFormat::png && y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            QCOMPARE(image.pixelIndex(x, y), y / 16 * 16 + x / 16);
}

void TestPaletteFormats::sixBitPalettes() {
    const QList<QRgb> sixBit{qRgb(0, 63, 16), qRgb(32, 48, 1)};
    QVERIFY(looksSixBit(sixBit));
    QCOMPARE(hex(scaleSixBit(sixBit)), QStringLiteral("00ff41 82c304"));
    for (const QRgb over : {qRgb(64, 0, 0), qRgb(0, 64, 0), qRgb(0, 0, 64)})
        QVERIFY(!looksSixBit({qRgb(1, 2, 3), over}));
    QVERIFY(!looksSixBit({}));
}

void TestPaletteFormats::readsFilesAsLoadingDoes_data() {
    // The file the tag names holds start, then NUL bytes up to size; size -1: a named pipe. result:
    // the colours as hex(), an error with %1 for the path as shown, or "as loading" where it is the
    // error loading the file as a palette gives.
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("result");
    const auto row = [](const char *name, const QByteArray &start, qint64 size,
                        const char *result) {
        QTest::newRow(name) << start << size << QString(result);
    };
    const QByteArray png = encoded(indexed({qRgb(9, 8, 7)}));
    row("bad.gpl", "GIMP Palette\n1 2", 16, "%1, line 2: '1 2' is not a colour.");
    row("pipe.gpl", {}, -1, "as loading");
    row("1mib.hex", "ffffff" + QByteArray((1 << 20) - 6, '\n'), 1 << 20, "ffffff");
    row("big.hex", "ffffff\n", (1 << 20) + 1, "%1 is over 1 MiB: too large for a palette file.");
    row("big.png", png, 2 << 20, "090807");
    row("huge.png", png, (65 << 20) + 1, "%1 is over 65 MiB: too large for a palette image.");
}

void TestPaletteFormats::readsFilesAsLoadingDoes() {
    QFETCH(QByteArray, start);
    QFETCH(qint64, size);
    QFETCH(QString, result);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QTest::currentDataTag());
    const QByteArray file = QFile::encodeName(path);
    // A sparse file: the NUL bytes after start take no room on the disk.
    QVERIFY(size < 0 || (writeFile(path, start) && truncate(file, size) == 0));
    QVERIFY(size >= 0 || mkfifo(file, 0600) == 0);
    Palette palette{};
    if (result == "as loading")
        result = loadPalette(path, palette);
    alarm(10); // an open that waits for a pipe's writer ends the test here instead of hanging
    const PaletteRead read = readPaletteFile(path);
    alarm(0);
    QCOMPARE(read.error + hex(read.colours), result.replace("%1", QDir::toNativeSeparators(path)));
}

QTEST_GUILESS_MAIN(TestPaletteFormats)
#include "tst_paletteformats.moc"
