#include "CompareWindow.h"
#include "FileDialogs.h"
#include "LoadedEditor.h"
#include "PaletteColours.h"
#include "PaletteComparison.h"
#include "PaletteExpectations.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeView>

namespace {

// The entries 1..reference.size() whose colours are not the reference's, worked out here.
QList<int> differing(const Palette &palette, const QList<QRgb> &reference) {
    QList<int> entries;
    for (int n = 1; n <= reference.size() && n <= 256; ++n)
        if (qRgb(palette[n][1], palette[n][2], palette[n][3]) != reference[n - 1])
            entries.append(n);
    return entries;
}

QList<QRgb> fileColours(const QString &path) {
    const QByteArray bytes = readFile(path);
    QList<QRgb> colours;
    for (int i = 0; i + 2 < bytes.size(); i += 3)
        colours.append(qRgb(quint8(bytes[i]), quint8(bytes[i + 1]), quint8(bytes[i + 2])));
    return colours;
}

// Selects the entry, raises its red by one with the Up key on the red bar and deselects it.
void edit(LoadedEditor &e, int entry) {
    const QPoint centre = centreOfEntry(entry);
    sendMove(e.pic(), centre);
    QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centre);
    QTest::keyClick(e.terrain().v1, Qt::Key_Up);
    QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centre);
}

// With no window manager here, nothing gives a window the keyboard back on its own.
bool activate(QWidget *window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Whether some pixel of the first row's cell in `column`, as painted, is exactly `colour`.
bool shows(QTreeView *list, int column, QRgb colour) {
    const QImage shown = list->viewport()->grab().toImage();
    const QRect cell = list->visualRect(list->model()->index(0, column));
    const qreal scale = shown.devicePixelRatio();
    for (int y = cell.top() * scale; y < (cell.bottom() + 1) * scale; ++y)
        for (int x = cell.left() * scale; x < (cell.right() + 1) * scale; ++x)
            if (shown.pixel(x, y) == (colour | 0xff000000u))
                return true;
    return false;
}

} // namespace

// The Compare window on the real editor, by clicks, keys and the file dialog.
class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_config.use()); }
    void cleanupTestCase() { QCOMPARE(m_config.written(), QStringList()); }

    void summary_data() {
        QTest::addColumn<int>("referenceSize");
        QTest::addColumn<QList<int>>("changed"); // entries given another colour
        QTest::addColumn<QString>("summary");
        QTest::newRow("three") << 256 << QList{3, 40, 200} << "3 of 256 entries differ";
        QTest::newRow("one") << 256 << QList{256} << "1 of 256 entries differs";
        QTest::newRow("none") << 256 << QList<int>{} << "No entry differs";
        QTest::newRow("short reference") << 40 << QList{3, 40, 41, 200} << "2 of 40 entries differ";
        QTest::newRow("long reference") << 300 << QList{1, 256} << "2 of 256 entries differ";
    }
    void summary() {
        QFETCH(int, referenceSize);
        QFETCH(QList<int>, changed);
        QFETCH(QString, summary);
        Palette palette = distinctPalette();
        for (int n : changed)
            setColour(palette, n, 7, 7, 7);
        QList<QRgb> reference = entryColours(distinctPalette(), 1, 256);
        reference.resize(referenceSize, qRgb(9, 9, 9));
        QCOMPARE(comparisonSummary(comparePalettes(palette, reference)), summary);
    }

    // From the distinct palette: "editN" is edit(N); "right" moves the editor to the screen's
    // right edge; "open" picks "Compare…" from the menu of entry 1; "with:NAME" answers
    // "Compare with…" with that file of the palette's folder (none: Escape); "click:X" clicks
    // the button of letter X; "save" clicks Save; anything else is a key sent to the window.
    void events_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("entries"); // the rows listed at the end
        QTest::addColumn<QString>("reference");  // the title's file name
        QTest::addColumn<int>("undoSteps");
        QTest::addColumn<int>("current"); // the current row's entry, 0 for none
        const QString saved = "europe.act as last saved", gpl = "stock.gpl";
        const auto row = [](const char *steps, QList<int> entries, QString reference, int undoSteps,
                            int current) {
            QTest::newRow(steps) << QString(steps) << entries << reference << undoSteps << current;
        };
        row("edit3 edit40 edit200 open", {3, 40, 200}, saved, 3, 3);
        row("edit3 open edit7 edit7", {3, 7}, saved, 2, 3); // the second edit of 7 merges
        row("edit3 edit40 open Return Ctrl+Z", {3, 40}, saved, 2, 40);
        row("edit3 edit40 edit200 open End Return", {3, 40}, saved, 4, 40);
        row("edit3 edit40 edit200 open click:R Return", {200}, saved, 5, 200);
        row("edit3 edit40 open Alt+A", {}, saved, 3, 0);
        row("edit3 edit40 open Alt+A Ctrl+Z", {3, 40}, saved, 2, 3);
        row("edit3 edit40 open Alt+A Ctrl+Z Ctrl+Y", {}, saved, 3, 0);
        row("edit3 edit40 open Alt+A Ctrl+Z Ctrl+Shift+Z", {}, saved, 3, 0);
        row("edit3 open with:stock.gpl Alt+A", {}, gpl, 2, 0);
        row("edit3 edit41 open with:stock.gpl with: with:bad.gpl save", {3, 5, 33}, gpl, 2, 3);
        row("edit3 open with:stock.gpl Alt+S", {3}, saved, 1, 3);
        row("edit3 edit40 open save", {}, saved, 2, 0);
        // Hidden, then opened again: what differs now, the first row current.
        row("open Escape edit9 edit4 open", {4, 9}, saved, 2, 4);
        row("right open Alt+C edit9 edit4 open", {4, 9}, saved, 2, 4);
        row("open edit9 edit4 open", {4, 9}, saved, 2, 9); // still open: only to the front
    }
    void events() {
        QFETCH(QString, steps);
        QFETCH(QList<int>, entries);
        QFETCH(QString, reference);
        QFETCH(int, undoSteps);
        QFETCH(int, current);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QDir folder = QFileInfo(e.path()).dir();
        QList<QRgb> stock = entryColours(distinctPalette(), 1, 40); // but for entries 5 and 33
        stock[4] = qRgb(1, 2, 3);
        stock[32] = qRgb(250, 251, 252);
        QVERIFY(writeFile(folder.filePath("stock.gpl"), gimpText(stock)));
        QVERIFY(writeFile(folder.filePath("bad.gpl"), "GIMP Palette\n1 2 3\n300 0 0\n"));
        const QRect screen = e.terrain().screen()->availableGeometry();
        QVERIFY(!e.terrain().findChild<CompareWindow *>()); // made on first use
        CompareWindow *compare = nullptr;
        QTreeView *list = nullptr;
        for (QString step : steps.split(' ')) {
            if (step.startsWith("edit")) {
                edit(e, step.mid(4).toInt());
            } else if (step == "right") {
                e.terrain().move(screen.right() + 1 - e.terrain().frameGeometry().width(), 0);
            } else if (step == "open") {
                const bool wasOpen = compare && compare->isVisible();
                QVERIFY(activate(&e.terrain()));
                QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                                  e.pic()->mapTo(&e.terrain(), centreOfEntry(1)));
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
                QTRY_VERIFY(compare = e.terrain().findChild<CompareWindow *>());
                QTRY_VERIFY(compare->isActiveWindow());
                list = compare->findChild<QTreeView *>();
                // A window of its own, the editor still in use; the list takes the keys.
                QCOMPARE(compare->windowModality(), Qt::NonModal);
                QCOMPARE(QApplication::focusWidget(), list);
                if (!wasOpen)
                    QCOMPARE(list->currentIndex().row(), list->model()->rowCount() ? 0 : -1);
                // Beside the editor: to its right, or to its left where only that side has room.
                const QRect editor = e.terrain().frameGeometry(), placed = compare->frameGeometry();
                QCOMPARE(steps.startsWith("right") ? placed.right() + 1 : placed.left(),
                         steps.startsWith("right") ? editor.left() : editor.right() + 1);
                QVERIFY(screen.contains(placed));
            } else if (step.startsWith("click:")) {
                for (QPushButton *b : compare->findChildren<QPushButton *>())
                    if (b->text().contains('&' + step.mid(6)))
                        QTest::mouseClick(b, Qt::LeftButton);
            } else if (step == "save") {
                QTest::mouseClick(e.terrain().sav, Qt::LeftButton);
            } else {
                if (step.startsWith("with:")) {
                    answerFileDialog(step.size() > 5 ? folder.filePath(step.mid(5)) : QString());
                    step = "Alt+W";
                }
                QVERIFY(activate(compare));
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
                // A button's letter presses it for a moment, and it acts when let go.
                for (const QAbstractButton *button : compare->findChildren<QAbstractButton *>())
                    QTRY_VERIFY(!button->isDown());
                QTRY_VERIFY(!QApplication::activeModalWidget());
            }
        }
        QVERIFY(compare && compare->isVisible());
        QCOMPARE(compare->windowTitle(), "Compare with " + reference);
        const QList<QRgb> referenceColours =
            reference == "stock.gpl" ? stock : fileColours(e.path()); // as on disk
        const Palette &palette = e.state().palette;
        QCOMPARE(differing(palette, referenceColours), entries);
        // The summary's wording is summary()'s; here it must be of this palette and reference.
        QCOMPARE(compare->findChild<QLabel *>("summary")->text(),
                 comparisonSummary(comparePalettes(palette, referenceColours)));
        const QAbstractItemModel *model = list->model();
        QStringList rows, expectedRows;
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < 4; ++column)
                rows.append(model->index(row, column).data().toString());
        for (int n : entries)
            expectedRows << QString::number(n) << className(n)
                         << QColor(referenceColours[n - 1]).name()
                         << QColor(entryColour(palette, n)).name();
        QCOMPARE(rows, expectedRows);
        QCOMPARE(list->currentIndex().isValid() ? list->currentIndex().data().toInt() : 0, current);
        QCOMPARE(e.terrain().history().stack().index(), undoSteps);
        for (int n = 1; n <= 256; ++n) // reverts give the packed colour too
            QCOMPARE(palette[n][0], palette[n][1] + 256 * palette[n][2] + 65536 * palette[n][3]);
        const QString bad = folder.filePath("bad.gpl") + ", line 3: 300 is not a channel value";
        QCOMPARE(e.errors,
                 steps.contains("bad") ? QStringList{bad + " (0 to 255)."} : QStringList());
        // Enter on a row reverts that row only: no button takes it as well.
        for (const QPushButton *button : compare->findChildren<QPushButton *>()) {
            QVERIFY(!button->isDefault() && !button->autoDefault());
            if (button->text().contains("Revert"))
                QCOMPARE(button->isEnabled(), !entries.isEmpty());
        }
        if (entries.isEmpty())
            return;
        // The first row's swatches show both colours exactly, the row current and selected.
        QVERIFY(shows(list, 2, referenceColours[entries[0] - 1]));
        QVERIFY(shows(list, 3, entryColour(palette, entries[0])));
    }

private:
    DialogConfigFolder m_config;
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
