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

// Colours as the rows write them: "rrggbb" each (with alpha in front where not opaque),
// separated by blanks.
QString hex(const QList<QRgb> &colours) {
    QStringList words;
    for (const QRgb colour : colours)
        words << (qAlpha(colour) == 255
                      ? QString::number(colour & 0xffffff, 16).rightJustified(6, '0')
                      : QString::number(colour, 16).rightJustified(8, '0'));
    return words.join(' ');
}

// 256 different colours, none of them 6-bit.
QList<QRgb> distinct() {
    QList<QRgb> colours;
    for (int n = 0; n < 256; ++n)
        colours << qRgb(n, 255 - n, (n * 7 + 100) % 256);
    return colours;
}

QByteArray tableBytes(const QList<QRgb> &colours) {
    QByteArray bytes;
    for (const QRgb c : colours)
        bytes.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    return bytes;
}

QByteArray encoded(const QImage &image, const char *format) {
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

QByteArray little(quint32 value, int size) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i)));
    return bytes;
}

// A RIFF palette: a 3-byte chunk (padded to 4) before the data chunk, entries from the table.
QByteArray riff(quint16 version, quint16 count, const QByteArray &entries) {
    const QByteArray data = little(version, 2) + little(count, 2) + entries;
    const QByteArray chunks =
        QByteArray("junk") + little(3, 4) + "abc" + '\0' + "data" + little(data.size(), 4) + data;
    return "RIFF" + little(4 + chunks.size(), 4) + "PAL " + chunks;
}

// A GIF's signature and logical screen with the given flags, then the bytes that follow.
QByteArray gif(quint8 flags, const QByteArray &rest) {
    return "GIF89a" + little(1, 2) + little(1, 2) + char(flags) + '\0' + '\0' + rest;
}

} // namespace

class TestPaletteFormats : public QObject {
    Q_OBJECT

private slots:
    void readsEachFormat_data();
    void readsEachFormat();
    void writesEachFormatAndReadsItBack_data();
    void writesEachFormatAndReadsItBack();
    void sixBitPalettes_data();
    void sixBitPalettes();
    void readsFilesAsLoadingDoes_data();
    void readsFilesAsLoadingDoes();

private:
    QTemporaryDir m_dir;
};

void TestPaletteFormats::readsEachFormat_data() {
    // colours: what is read, as hex(); else error: the whole message for the source "in".
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<QString>("error");
    const auto good = [](const char *name, const QByteArray &bytes, const QString &colours) {
        QTest::newRow(name) << bytes << colours << QString();
    };
    const auto bad = [](const char *name, const QByteArray &bytes, const char *error) {
        QTest::newRow(name) << bytes << QString() << QString::fromUtf8(error);
    };
    const QList<QRgb> all = distinct();
    const QByteArray table = tableBytes(all);
    good("table", table, hex(all));
    good("table with count 2", table + little(0x0200, 2) + "\x05\0"_qba, hex(all.first(2)));
    good("table with count 0", table + QByteArray(4, '\0'), hex(all));
    good("table with count 257", table + "\x01\x01\0\0"_qba, hex(all));
    good("table starting BM", "BM" + table.sliced(2), "424d" + hex(all).sliced(4));
    bad("769 bytes", table + 'x', "in is not a palette file the editor reads.");
    bad("nothing", "", "in is not a palette file the editor reads.");

    good("JASC", "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n4\t5 6 255\r\nmore\r\n", "010203 040506");
    good("JASC, mark, LF", "\xEF\xBB\xBFJASC-PAL\n0100\n1\n255 0 0", "ff0000");
    bad("JASC short", "JASC-PAL\n0100\n3\n1 2 3\n", "in, line 5: colour 2 of 3 is missing.");
    bad("JASC, no version", "JASC-PAL", "in, line 2: the version 0100 is missing.");
    bad("JASC version", "JASC-PAL\n0200\n", "in, line 2: '0200' is not version 0100.");
    bad("JASC, no count", "JASC-PAL\n0100\n", "in, line 3: the colour count is missing.");
    bad("JASC count 0", "JASC-PAL\n0100\n0\n", "in, line 3: 0 is not a colour count (1 to 256).");
    bad("JASC count 257", "JASC-PAL\n0100\n257\n1 2 3",
        "in, line 3: 257 is not a colour count (1 to 256).");
    bad("JASC count x", "JASC-PAL\n0100\nx\n", "in, line 3: 'x' is not a colour count (1 to 256).");
    bad("JASC 300", "JASC-PAL\r\n0100\r\n1\r\n300 0 0\r\n",
        "in, line 4: 300 is not a channel value (0 to 255).");
    bad("JASC, CR, five numbers", "JASC-PAL\r0100\r1\r1 2 3 4 5\r",
        "in, line 4: '1 2 3 4 5' is not a colour.");

    good("GIMP", "GIMP Palette\nName: x\nColumns: 4\n# 1 2\n\n  0  12 200\t27 Grass Close\n1 2 3",
         "000cc8 010203");
    good("GIMP RGBA", "GIMP Palette\r\nChannels: RGBA\r\n\r\n1 2 3 4 5 6\r\n", "010203");
    bad("GIMP alpha 256", "GIMP Palette\nChannels: RGBA\n1 2 3 256\n",
        "in, line 3: 256 is not a channel value (0 to 255).");
    bad("GIMP -6", "GIMP Palette\r\n\r\n1 2 3\r\n4 5 -6\r\n",
        "in, line 4: -6 is not a channel value (0 to 255).");
    bad("GIMP two numbers", "GIMP Palette\n#\n1 2\n", "in, line 3: '1 2' is not a colour.");
    bad("GIMP word", "GIMP Palette\n1 2 x\n", "in, line 2: '1 2 x' is not a colour.");
    bad("GIMP name after colours", "GIMP Palette\n1 2 3\nName: x",
        "in, line 3: 'Name: x' is not a colour.");
    bad("GIMP CMYK", "GIMP Palette\nChannels: CMYK\n",
        "in, line 2: 'CMYK' is not a channel layout (RGB or RGBA).");
    bad("GIMP empty", "GIMP Palette\nName: empty\n#\n", "in is a palette with no colours.");

    good("hex", "; paint.net\n\nFF102030\n#A0B0C0\n d0e0f0 \n", "102030 a0b0c0 d0e0f0");
    bad("hex, # and 8 digits", "ffffff\n#ff00ff00\n", "in, line 2: '#ff00ff00' is not a colour.");
    bad("hex, mark, CR LF", "\xEF\xBB\xBF\r\n;x\r\n123456\r\n12345\r\n",
        "in, line 4: '12345' is not a colour.");
    bad("hex, long line", "ffffff\n" + QByteArray(50, 'g'),
        "in, line 2: 'gggggggggggggggggggggggggggggggggggggggg…' is not a colour.");
    bad("comment, then no colour", "; x\ngrass\nffffff\n",
        "in is not a palette file the editor reads.");

    const QByteArray entries = "\x01\x02\x03\0\xfa\xfb\xfc\x01"_qba;
    good("Microsoft", riff(0x0300, 2, entries), "010203 fafbfc");
    bad("Microsoft version", riff(0x0200, 2, entries),
        "in is a Microsoft palette of version 0x0200; the editor reads version 0x0300.");
    bad("Microsoft short", riff(0x0300, 3, entries), "in is a Microsoft palette cut short.");
    bad("Microsoft, no data", "RIFF\0\0\0\0PAL junk\xff\xff\xff\xff"_qba + entries,
        "in is a Microsoft palette without colour data.");
    bad("Microsoft, none", riff(0x0300, 0, {}), "in is a palette with no colours.");

    const QList<QRgb> three{qRgb(1, 2, 3), qRgb(1, 2, 3), qRgba(200, 0, 0, 100)};
    good("PNG, indexed", encoded(indexed(three), "png"), "010203 010203 c80000");
    good("BMP, indexed", encoded(indexed(three), "bmp"), "010203 010203 c80000");
    good("PNG, grid of 3", encoded(squares(all, 3, 16, 16), "png"), hex(all));
    good("BMP, grid of 1", encoded(squares(all, 1, 16, 16), "bmp"), hex(all));
    good("PNG, 3 squares", encoded(squares(three, 5, 3, 1), "png"), "010203 010203 c80000");
    good("PNG, 1 square", encoded(squares(three, 10, 1, 1), "png"), "010203");
    bad("PNG 30 × 20", encoded(squares(all, 10, 3, 2), "png"),
        "in is 30 × 20 pixels: not a palette image.");
    bad("PNG 257 × 1", encoded(squares(all + all, 1, 257, 1), "png"),
        "in is 257 × 1 pixels: not a palette image.");
    bad("PNG 9000 × 1", encoded(QImage(9000, 1, QImage::Format_Mono), "png"),
        "in is 9000 × 1 pixels: too large for a palette image.");
    bad("PNG 4097 × 4097", encoded(QImage(4097, 4097, QImage::Format_Mono), "png"),
        "in is 4097 × 4097 pixels: too large for a palette image.");
    bad("PNG damaged", encoded(indexed(three), "png").first(40),
        "in is an image that cannot be read.");
    good("GIF, global table", gif(0x81, "\1\2\3\4\5\6\7\x08\x09\xa\xb\xc"),
         "010203 040506 070809 0a0b0c");
    bad("GIF, table cut short", gif(0x87, "\1\2\3"), "in is an image that cannot be read.");
    // The smallest GIF there is: one pixel, coloured from its own local table.
    good("GIF, local table", gif(0, ",\0\0\0\0\1\0\1\0\x80\x10\x20\x30\0\0\0\2\2D\1\0;"_qba),
         "102030");
}

void TestPaletteFormats::readsEachFormat() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, colours);
    QFETCH(QString, error);
    const PaletteRead read = readPaletteBytes(bytes, QStringLiteral("in"));
    QCOMPARE(read.error, error);
    QCOMPARE(hex(read.colours), colours);
    QCOMPARE(read.fromColourTable, QByteArray(QTest::currentDataTag()).startsWith("table"));
}

void TestPaletteFormats::writesEachFormatAndReadsItBack_data() {
    // The first and last bytes written for distinct(), and the size (0: any).
    QTest::addColumn<PaletteFormat>("format");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::newRow("GIMP")
        << PaletteFormat::gimp << 0
        << "GIMP Palette\nName: europe\nColumns: 16\n#\n"
           "  0 255 100\t1 Dirt / Road Close\n  1 254 107\t2 Dirt / Road Close\n"_qba
        << "255   0  93\t256 Unknown\n"_qba;
    QTest::newRow("JASC") << PaletteFormat::jasc << 0
                          << "JASC-PAL\r\n0100\r\n256\r\n0 255 100\r\n1 254 107\r\n"_qba
                          << "\r\n255 0 93\r\n"_qba;
    QTest::newRow("Microsoft") << PaletteFormat::microsoft << 1048
                               << "RIFF\x10\x04\0\0PAL data\x04\x04\0\0\0\x03\0\x01\0\xff\x64\0"_qba
                               << "\0\xfe\x01\x56\0\xff\0\x5d\0"_qba;
    QTest::newRow("hex") << PaletteFormat::hexList << 256 * 7 << "00ff64\n01fe6b\n"_qba
                         << "\nff005d\n"_qba;
    QTest::newRow("table") << PaletteFormat::colourTable << 768 << "\0\xff\x64\x01"_qba
                           << "\xff\0\x5d"_qba;
    QTest::newRow("PNG") << PaletteFormat::png << 0 << "\x89PNG"_qba << QByteArray();
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
    const PaletteRead read = readPaletteBytes(bytes, QStringLiteral("out"));
    QCOMPARE(read.error, QString());
    QCOMPARE(hex(read.colours), hex(distinct()));
    // The PNG shows the grid: each 16 × 16 cell holds its entry's index.
    const QImage image = QImage::fromData(bytes);
    for (int y = 0; format == PaletteFormat::png && y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            QCOMPARE(image.pixelIndex(x, y), y / 16 * 16 + x / 16);
}

void TestPaletteFormats::sixBitPalettes_data() {
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::addColumn<bool>("sixBit");
    QTest::addColumn<QString>("scaled");
    QTest::newRow("6-bit") << QList<QRgb>{qRgb(0, 63, 16), qRgb(32, 48, 1)} << true
                           << "00ff41 82c304";
    for (const QRgb over : {qRgb(64, 0, 0), qRgb(0, 64, 0), qRgb(0, 0, 64)})
        QTest::newRow("64") << QList<QRgb>{qRgb(1, 2, 3), over} << false << QString();
    QTest::newRow("none") << QList<QRgb>{} << false << QString();
}

void TestPaletteFormats::sixBitPalettes() {
    QFETCH(QList<QRgb>, colours);
    QFETCH(bool, sixBit);
    QFETCH(QString, scaled);
    QCOMPARE(looksSixBit(colours), sixBit);
    if (sixBit)
        QCOMPARE(hex(scaleSixBit(colours)), scaled);
}

void TestPaletteFormats::readsFilesAsLoadingDoes_data() {
    // result: the colours as hex(), an error with %1 for the path as shown, or "as loading"
    // where it is the error loading the file as a palette gives.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");
    const auto make = [this](const char *name, auto create) {
        create(m_dir.filePath(name));
        return QString::fromLatin1(name);
    };
    // The bytes, then NUL bytes up to size; a larger file is refused before they are read.
    const auto sized = [](const QByteArray &start, qint64 size) {
        return [=](const QString &p) {
            QVERIFY(writeFile(p, start) && truncate(QFile::encodeName(p), size) == 0);
        };
    };
    QTest::newRow("GIMP") << make("grass.gpl", sized("GIMP Palette\n1 2 3", 18)) << "010203";
    QTest::newRow("link") << make("link.gpl", [this](const QString &p) {
        QFile::link(m_dir.filePath("grass.gpl"), p);
    }) << "010203";
    QTest::newRow("bad GIMP") << make("bad.gpl", sized("GIMP Palette\n1 2", 16))
                              << "%1, line 2: '1 2' is not a colour.";
    QTest::newRow("missing") << make("missing.gpl", [](const QString &) {}) << "as loading";
    QTest::newRow("folder") << make("folder.gpl", [](const QString &p) { QDir().mkdir(p); })
                            << "as loading";
    QTest::newRow("pipe") << make("pipe.gpl", [](const QString &p) {
        mkfifo(QFile::encodeName(p), 0600);
    }) << "as loading";
    QTest::newRow("1 MiB") << make("1mib.hex", [](const QString &p) {
        writeFile(p, "ffffff" + QByteArray((1 << 20) - 6, '\n'));
    }) << "ffffff";
    QTest::newRow("over 1 MiB") << make("big.hex", sized("ffffff\n", (1 << 20) + 1))
                                << "%1 is over 1 MiB: too large for a palette file.";
    const QByteArray png = encoded(indexed({qRgb(9, 8, 7)}), "png");
    QTest::newRow("image over 1 MiB") << make("big.png", sized(png, 2 << 20)) << "090807";
    QTest::newRow("image over 65 MiB") << make("huge.png", sized(png, (65 << 20) + 1))
                                       << "%1 is over 65 MiB: too large for a palette image.";
}

void TestPaletteFormats::readsFilesAsLoadingDoes() {
    QFETCH(QString, name);
    QFETCH(QString, result);
    const QString path = m_dir.filePath(name);
    Palette palette{};
    if (result == "as loading")
        result = loadPalette(path, palette);
    alarm(10); // an open that waits for a pipe's writer ends the test here instead of hanging
    const PaletteRead read = readPaletteFile(path);
    alarm(0);
    QCOMPARE(read.error.isEmpty() ? hex(read.colours) : read.error,
             result.replace("%1", QDir::toNativeSeparators(path)));
}

QTEST_GUILESS_MAIN(TestPaletteFormats)
#include "tst_paletteformats.moc"
