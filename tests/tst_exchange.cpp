#include "FileDialogs.h"
#include "LoadedEditor.h"
#include "PaletteColours.h"
#include "PaletteExpectations.h"
#include "PaletteFormats.h"

#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>

namespace {

// `count` colours unlike any of the distinct palette's: red runs up from 1, green and blue 0..3.
QList<QRgb> newColours(int count, int limit = 255) {
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.append(qRgb(1 + i % limit, i % 4, (i + 1) % 4));
    return colours;
}

QByteArray colourTable(const QList<QRgb> &colours) {
    QByteArray bytes;
    for (const QRgb colour : colours)
        for (const int channel : {qRed(colour), qGreen(colour), qBlue(colour)})
            bytes += char(channel);
    return bytes;
}

// The distinct palette with the colours put in from entry `first` on, as far as they fit.
Palette placed(int first, const QList<QRgb> &colours) {
    Palette palette = distinctPalette();
    for (int i = 0; i < colours.size() && first + i <= 256; ++i)
        setColour(palette, first + i, qRed(colours[i]), qGreen(colours[i]), qBlue(colours[i]));
    return palette;
}

void rightClick(LoadedEditor &e, int entry) {
    QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                      e.pic()->mapTo(&e.terrain(), centreOfEntry(entry)));
}

} // namespace

// Palettes in and out through the grid's menu and the clipboard, on the real editor window.
class TestExchange : public QObject {
    Q_OBJECT

private slots:
    // Qt's own dialogs would write there if the editor let them.
    void initTestCase() { QVERIFY(m_config.use()); }
    void cleanupTestCase() { QCOMPARE(m_config.written(), QStringList()); }

    // A file imported from the menu of an entry; the 6-bit question answered as given.
    void import_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<Palette>("expected");
        QTest::addColumn<QString>("message"); // an error or a note
        const QList<QRgb> ramp = newColours(26);
        QTest::newRow("26 on Grass Close")
            << 27 << gimpText(ramp) << QList<Answer>{} << placed(27, ramp) << QString();
        QTest::newRow("past entry 256")
            << 250 << gimpText(newColours(20)) << QList<Answer>{} << placed(250, newColours(20))
            << "7 of the 20 colours were imported, into entries 250\u2013256; 13 would go past "
               "entry 256 and were left out.";
        QTest::newRow("its own colours") << 1 << fileBytes(distinctPalette()) << QList<Answer>{}
                                         << distinctPalette() << QString();
        QList<QRgb> vga = newColours(256, 63), scaled;
        for (const QRgb c : vga)
            scaled.append(qRgb(qRed(c) * 4 + qRed(c) / 16, qGreen(c) * 4 + qGreen(c) / 16,
                               qBlue(c) * 4 + qBlue(c) / 16));
        QTest::newRow("6-bit scaled")
            << 1 << colourTable(vga) << QList{Answer::scale} << placed(1, scaled) << QString();
        QTest::newRow("6-bit kept")
            << 1 << colourTable(vga) << QList{Answer::keep} << placed(1, vga) << QString();
        QTest::newRow("6-bit cancelled")
            << 1 << colourTable(vga) << QList{Answer::cancel} << distinctPalette() << QString();
        QTest::newRow("bad line") << 27 << QByteArray("GIMP Palette\n1 2 3\n300 0 0\n")
                                  << QList<Answer>{} << distinctPalette()
                                  << "%1, line 3: 300 is not a channel value (0 to 255).";
        QTest::newRow("cancelled")
            << 27 << QByteArray() << QList<Answer>{} << distinctPalette() << QString();
    }
    void import() {
        QFETCH(int, entry);
        QFETCH(QByteArray, file);
        QFETCH(QList<Answer>, answers);
        QFETCH(Palette, expected);
        QFETCH(QString, message);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QString path = QFileInfo(e.path()).dir().filePath(QStringLiteral("ramp.gpl"));
        QVERIFY(writeFile(path, file));
        e.answers = answers;
        answerFileDialog(file.isEmpty() ? QString() : path);
        rightClick(e, entry);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_I);
        QCOMPARE(firstPaletteDifference(e.state().palette, expected), QString());
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(expected)), QString());
        QCOMPARE(e.questions.size(), answers.size());
        QCOMPARE(e.errors + e.notes, message.isEmpty()
                                         ? QStringList()
                                         : QStringList{QString(message).replace("%1", path)});
        const bool changed = expected != distinctPalette();
        QCOMPARE(e.terrain().history().stack().index(), changed ? 1 : 0);
        // With no window manager here, nothing gives the editor the keyboard back when the file
        // dialog closes.
        e.terrain().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e.terrain()));
        QTest::keyClick(&e.terrain(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(firstPaletteDifference(e.state().palette, distinctPalette()), QString());
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(distinctPalette())), QString());
    }

    // Ctrl+V onto selected entry 18 with a text on the clipboard.
    void paste_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Palette>("expected");
        QTest::addColumn<QString>("error");
        const QList<QRgb> four{0x102030, 0x405060, 0x708090, 0x010203};
        QTest::newRow("four lines, four forms") << "#102030\r\n405060\n\n#708090\nrgb(1, 2, 3)\n"
                                                << placed(18, four) << QString();
        QTest::newRow("a GIMP palette")
            << QString::fromLatin1(gimpText(four)) << placed(18, four) << QString();
        QTest::newRow("a hex palette with alpha")
            << "; paint\nff102030\nff405060\nff708090\nff010203" << placed(18, four) << QString();
        QTest::newRow("one colour line") << "\n #102030 \n\n"
                                         << placed(18, {0x102030}) << QString();
        QTest::newRow("not a colour")
            << "#102030\n\ngrass\n"
            << distinctPalette() << "Clipboard, line 3: 'grass' is not a colour.";
    }
    void paste() {
        QFETCH(QString, text);
        QFETCH(Palette, expected);
        QFETCH(QString, error);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        sendMove(e.pic(), centreOfEntry(18));
        QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centreOfEntry(18));
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&e.terrain(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(firstPaletteDifference(e.state().palette, expected), QString());
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(expected, {18})), QString());
        QCOMPARE(e.errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(e.terrain().history().stack().index(), error.isEmpty() ? 1 : 0);
        QVERIFY(e.state().anchorSet);
    }

    // Export of the distinct palette, the name typed and the filter chosen in the dialog.
    void exportFile_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("gpl") << "a.gpl"
                             << "PNG image (*.png)"
                             << "a.gpl" << QByteArray("GIMP");
        QTest::newRow("pal") << "a.pal"
                             << ""
                             << "a.pal" << QByteArray("JASC-PAL\r\n");
        QTest::newRow("pal, Microsoft") << "a.PAL"
                                        << "Microsoft palette (*.pal)"
                                        << "a.PAL" << QByteArray("RIFF");
        QTest::newRow("hex") << "a.hex"
                             << ""
                             << "a.hex" << fileBytes(distinctPalette()).left(3).toHex() + '\n';
        QTest::newRow("act") << "a.act"
                             << ""
                             << "a.act" << fileBytes(distinctPalette());
        QTest::newRow("png") << "a.png"
                             << ""
                             << "a.png" << QByteArray("\x89PNG");
        QTest::newRow("other ending") << "notes.txt"
                                      << ""
                                      << "notes.txt.gpl" << QByteArray("GIMP");
        QTest::newRow("no ending") << "notes"
                                   << "Hex colour list (*.hex)"
                                   << "notes.hex" << QByteArray("");
    }
    void exportFile() {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QDir folder = QFileInfo(e.path()).dir();
        answerFileDialog(folder.filePath(typed), filter);
        rightClick(e, 90);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_X);
        QCOMPARE(e.errors, QStringList());
        const QByteArray bytes = readFile(folder.filePath(written));
        QVERIFY2(bytes.startsWith(start), bytes.left(16).constData());
        const PaletteRead back = readPaletteFile(folder.filePath(written));
        QCOMPARE(back.error, QString());
        QCOMPARE(back.colours, entryColours(distinctPalette(), 1, 256));
        QCOMPARE(e.terrain().history().stack().index(), 0);
        QVERIFY(!e.terrain().isWindowModified());
    }

    // The name the ending was added to exists: asked first, and Cancel writes nothing; the open
    // palette itself is never written by Export.
    void exportRefused() {
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QDir folder = QFileInfo(e.path()).dir();
        QVERIFY(writeFile(folder.filePath(QStringLiteral("notes.gpl")), "mine"));
        answerFileDialog(folder.filePath(QStringLiteral("notes")));
        rightClick(e, 90);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_X);
        QCOMPARE(e.questions.size(), 1);
        QCOMPARE(readFile(folder.filePath(QStringLiteral("notes.gpl"))), QByteArray("mine"));
        // Qt's own question about the name as typed, answered Yes.
        whenModal<QMessageBox>([](QMessageBox *box) {
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        answerFileDialog(e.path(), QStringLiteral("Colour table (*.act)"));
        rightClick(e, 90);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_X);
        QCOMPARE(e.errors.size(), 1);
        QVERIFY2(e.errors[0].contains(QStringLiteral("Save")), qPrintable(e.errors[0]));
    }

    void copyWholePalette() {
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        rightClick(e, 90);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_W);
        QStringList lines;
        for (const QRgb colour : entryColours(distinctPalette(), 1, 256))
            lines.append(QColor(colour).name());
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join('\n') + '\n');
    }

private:
    DialogConfigFolder m_config;
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
