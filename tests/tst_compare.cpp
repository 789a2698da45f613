#include "CompareWindow.h"
#include "FileDialogs.h"
#include "LoadedEditor.h"
#include "PaletteColours.h"
#include "PaletteComparison.h"
#include "PaletteExpectations.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

namespace {

// The distinct palette's first 40 colours, but for entries 5 and 33.
QList<QRgb> stockColours() {
    QList<QRgb> colours = entryColours(distinctPalette(), 1, 40);
    colours[4] = qRgb(1, 2, 3);
    colours[32] = qRgb(250, 251, 252);
    return colours;
}

// The entries 1..reference.size() whose colours are not the reference's, worked out here.
QList<int> differing(const Palette &palette, const QList<QRgb> &reference) {
    QList<int> entries;
    for (int n = 1; n <= reference.size() && n <= 256; ++n)
        if (qRgb(palette[n][1], palette[n][2], palette[n][3]) != reference[n - 1])
            entries.append(n);
    return entries;
}

QList<QRgb> fileColours(const QString &path) {
    QFile file(path);
    QList<QRgb> colours;
    if (!file.open(QIODevice::ReadOnly))
        return colours;
    const QByteArray bytes = file.readAll();
    for (int i = 0; i + 2 < bytes.size(); i += 3)
        colours.append(qRgb(quint8(bytes[i]), quint8(bytes[i + 1]), quint8(bytes[i + 2])));
    return colours;
}

// A button's letter presses it for a moment, and it acts when let go.
void waitForRelease(const QWidget *window) {
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        QTRY_VERIFY(!button->isDown());
}

// Whether any pixel of `area` in the image is `colour`.
bool shows(const QImage &image, QRect area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == (colour | 0xff000000u))
                return true;
    return false;
}

} // namespace

// The Compare window on the real editor, by clicks, keys and the file dialog.
class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_config.use()); }

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
        QList<QRgb> reference = entryColours(distinctPalette(), 1, std::min(referenceSize, 256));
        while (reference.size() < referenceSize)
            reference.append(qRgb(9, 9, 9));
        const PaletteComparison comparison = comparePalettes(palette, reference);
        QCOMPARE(comparisonSummary(comparison), summary);
        QList<int> listed;
        for (const EntryDifference &d : comparison.differences) {
            listed.append(d.entry);
            QCOMPARE(d.now, qRgb(7, 7, 7));
            QCOMPARE(d.reference, entryColour(distinctPalette(), d.entry));
        }
        QCOMPARE(listed, differing(palette, reference));
        const Palette reverted = revertedPalette(palette, comparison.differences);
        QVERIFY(comparePalettes(reverted, reference).differences.isEmpty());
        QCOMPARE(reverted[3][0], distinctPalette()[3][0]); // the packed colour too
    }

    // From the distinct palette: "editN" selects entry N, raises its red by one with the Up key
    // on the red bar and deselects it; "open" picks "Compare…" from the menu of entry 1;
    // "with:NAME" answers "Compare with…" with that file of the palette's folder (none: Escape);
    // "save" clicks Save; anything else is a key sent to the Compare window.
    void events_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("entries"); // the rows listed at the end
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("reference"); // the title's file name
        QTest::addColumn<int>("undoSteps");
        QTest::addColumn<int>("current"); // the current row's entry, 0 for none
        const QString saved = "europe.act as last saved";
        const auto row = [&](const char *steps, QList<int> entries, const char *summary,
                             QString reference, int undoSteps, int current) {
            QTest::newRow(steps) << QString(steps) << entries << QString(summary) << reference
                                 << undoSteps << current;
        };
        row("open", {}, "No entry differs", saved, 0, 0);
        row("edit3 edit40 edit200 open", {3, 40, 200}, "3 of 256 entries differ", saved, 3, 3);
        row("edit3 open edit7", {3, 7}, "2 of 256 entries differ", saved, 2, 3);
        row("open edit7 edit7", {7}, "1 of 256 entries differs", saved, 1, 7); // one merged step
        row("edit3 edit40 open Ctrl+Z", {3}, "1 of 256 entries differs", saved, 1, 3);
        row("edit3 edit40 open Return", {40}, "1 of 256 entries differs", saved, 3, 40);
        row("edit3 edit40 edit200 open Down Return", {3, 200}, "2 of 256 entries differ", saved, 4,
            200);
        row("edit3 edit40 edit200 open End Return", {3, 40}, "2 of 256 entries differ", saved, 4,
            40);
        row("edit3 edit40 open Return Ctrl+Z", {3, 40}, "2 of 256 entries differ", saved, 2, 40);
        // A click on the button gives the keyboard back to the list.
        row("edit3 edit40 edit200 open click:R Return", {200}, "1 of 256 entries differs", saved, 5,
            200);
        row("edit3 edit40 edit200 open Alt+A", {}, "No entry differs", saved, 4, 0);
        row("edit3 edit40 edit200 open Alt+A Ctrl+Z", {3, 40, 200}, "3 of 256 entries differ",
            saved, 3, 3);
        row("edit3 edit40 open Alt+A Ctrl+Z Ctrl+Y", {}, "No entry differs", saved, 3, 0);
        row("edit3 edit40 open Alt+A Ctrl+Z Ctrl+Shift+Z", {}, "No entry differs", saved, 3, 0);
        row("edit3 open with:stock.gpl", {3, 5, 33}, "3 of 40 entries differ", "stock.gpl", 1, 3);
        row("edit3 open with:stock.gpl Alt+A", {}, "No entry differs", "stock.gpl", 2, 0);
        row("edit3 open with:stock.gpl Alt+A Ctrl+Z", {3, 5, 33}, "3 of 40 entries differ",
            "stock.gpl", 1, 3);
        row("edit3 open with:stock.gpl with:", {3, 5, 33}, "3 of 40 entries differ", "stock.gpl", 1,
            3);
        row("edit3 open with:stock.gpl with:bad.gpl", {3, 5, 33}, "3 of 40 entries differ",
            "stock.gpl", 1, 3);
        row("edit3 open with:stock.gpl Alt+S", {3}, "1 of 256 entries differs", saved, 1, 3);
        row("edit3 edit40 open save", {}, "No entry differs", saved, 2, 0);
        row("edit3 open save Ctrl+Z", {3}, "1 of 256 entries differs", saved, 0, 3);
        row("edit3 open with:stock.gpl save", {3, 5, 33}, "3 of 40 entries differ", "stock.gpl", 1,
            3);
    }
    void events() {
        QFETCH(QString, steps);
        QFETCH(QList<int>, entries);
        QFETCH(QString, summary);
        QFETCH(QString, reference);
        QFETCH(int, undoSteps);
        QFETCH(int, current);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QDir folder = QFileInfo(e.path()).dir();
        QVERIFY(writeFile(folder.filePath("stock.gpl"), gimpText(stockColours())));
        QVERIFY(writeFile(folder.filePath("bad.gpl"), "GIMP Palette\n1 2 3\n300 0 0\n"));
        QVERIFY(!e.terrain().findChild<CompareWindow *>()); // made on first use
        CompareWindow *compare = nullptr;
        QTreeView *list = nullptr;
        for (const QString &step : steps.split(' ')) {
            if (step.startsWith("edit")) {
                const QPoint centre = centreOfEntry(step.mid(4).toInt());
                sendMove(e.pic(), centre);
                QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centre);
                QTest::keyClick(e.terrain().v1, Qt::Key_Up);
                QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centre);
            } else if (step == "open") {
                QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                                  e.pic()->mapTo(&e.terrain(), centreOfEntry(1)));
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
                QTRY_VERIFY(compare = e.terrain().findChild<CompareWindow *>());
                QTRY_VERIFY(compare->isActiveWindow());
                list = compare->findChild<QTreeView *>();
                // Beside the editor, which stays in use; the list takes the keys.
                QCOMPARE(compare->windowModality(), Qt::NonModal);
                QVERIFY(compare->isWindow());
                QVERIFY(!compare->frameGeometry().intersects(e.terrain().frameGeometry()));
                QCOMPARE(QApplication::focusWidget(), list);
                QCOMPARE(list->currentIndex().row(), list->model()->rowCount() ? 0 : -1);
            } else if (step.startsWith("with:")) {
                compare->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(compare));
                answerFileDialog(step.size() > 5 ? folder.filePath(step.mid(5)) : QString());
                QTest::keyClick(compare, Qt::Key_W, Qt::AltModifier);
                waitForRelease(compare);
                QTRY_VERIFY(!QApplication::activeModalWidget());
            } else if (step.startsWith("click:")) { // the button of that letter
                const auto buttons = compare->findChildren<QPushButton *>();
                QTest::mouseClick(
                    *std::find_if(buttons.begin(), buttons.end(),
                                  [&](auto *b) { return b->text().contains('&' + step.mid(6)); }),
                    Qt::LeftButton);
            } else if (step == "save") {
                QTest::mouseClick(e.terrain().sav, Qt::LeftButton);
            } else {
                // With no window manager here, nothing gives the window the keyboard back when
                // a dialog closes or the editor took a click.
                compare->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(compare));
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
                waitForRelease(compare);
            }
        }
        QVERIFY(compare && compare->isVisible());
        QCOMPARE(compare->windowTitle(), "Compare with " + reference);
        QCOMPARE(compare->findChild<QLabel *>("summary")->text(), summary);
        const QList<QRgb> referenceColours =
            reference.startsWith("stock") ? stockColours() : fileColours(e.path()); // as on disk
        QCOMPARE(differing(e.state().palette, referenceColours), entries);
        const QAbstractItemModel *model = list->model();
        QList<int> listed;
        for (int row = 0; row < model->rowCount(); ++row) {
            const int n = model->index(row, 0).data().toInt();
            listed.append(n);
            QCOMPARE(model->index(row, 1).data().toString(), className(n));
            QCOMPARE(model->index(row, 2).data().toString(),
                     QColor(referenceColours[n - 1]).name());
            QCOMPARE(model->index(row, 3).data().toString(),
                     QColor(entryColour(e.state().palette, n)).name());
        }
        QCOMPARE(listed, entries);
        QCOMPARE(list->currentIndex().isValid() ? list->currentIndex().data().toInt() : 0, current);
        QCOMPARE(e.terrain().history().stack().index(), undoSteps);
        QCOMPARE(e.errors, steps.contains("bad.gpl")
                               ? QStringList{folder.filePath("bad.gpl") +
                                             ", line 3: 300 is not a channel value (0 to 255)."}
                               : QStringList());
        for (const char *text : {"&Revert entry", "Revert &all"}) {
            const auto buttons = compare->findChildren<QPushButton *>();
            const auto *button = *std::find_if(buttons.begin(), buttons.end(),
                                               [&](auto *b) { return b->text() == text; });
            QCOMPARE(button->isEnabled(), !entries.isEmpty());
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(e.state().palette)), QString());
        if (entries.isEmpty())
            return;
        // The first row's swatches show both colours exactly, the row current and selected.
        const QImage shown = list->viewport()->grab().toImage();
        const qreal scale = shown.devicePixelRatio();
        const auto area = [&](int column) {
            const QRect r = list->visualRect(model->index(0, column));
            return QRect(r.topLeft() * scale, r.size() * scale);
        };
        QVERIFY(shows(shown, area(2), referenceColours[entries[0] - 1]));
        QVERIFY(shows(shown, area(3), entryColour(e.state().palette, entries[0])));
    }

    // Escape or Close hides the window; opened again it lists what differs now, its first row
    // current; opened while open it only comes to the front. Edits on entries 9 then 4.
    void reopen_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Close") << "Alt+C";
        QTest::newRow("still open") << "";
    }
    void reopen() {
        QFETCH(QString, key);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const auto open = [&] {
            QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                              e.pic()->mapTo(&e.terrain(), centreOfEntry(1)));
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
        };
        open();
        auto *compare = e.terrain().findChild<CompareWindow *>();
        QVERIFY(compare && QTest::qWaitForWindowActive(compare));
        auto *list = compare->findChild<QTreeView *>();
        if (!key.isEmpty()) {
            QTest::keySequence(list, QKeySequence(key));
            QTRY_VERIFY(!compare->isVisible());
        }
        for (int n : {9, 4}) {
            sendMove(e.pic(), centreOfEntry(n));
            QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centreOfEntry(n));
            QTest::keyClick(e.terrain().v2, Qt::Key_Down);
            QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centreOfEntry(n));
        }
        e.terrain().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e.terrain()));
        open();
        QTRY_VERIFY(compare->isActiveWindow());
        QCOMPARE(e.terrain().findChildren<CompareWindow *>().size(), 1);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(0, 0).data().toInt(), 4);
        // Brought to the front only, the current row stays on entry 9.
        QCOMPARE(list->currentIndex().row(), key.isEmpty() ? 1 : 0);
    }

    // Beside the editor: to its right, or to its left where only that side has room.
    void placement_data() {
        QTest::addColumn<bool>("atRightEdge");
        QTest::newRow("room on the right") << false;
        QTest::newRow("room on the left only") << true;
    }
    void placement() {
        QFETCH(bool, atRightEdge);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        const QRect screen = e.terrain().screen()->availableGeometry();
        if (atRightEdge)
            e.terrain().move(screen.right() + 1 - e.terrain().frameGeometry().width(), 0);
        QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                          e.pic()->mapTo(&e.terrain(), centreOfEntry(1)));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
        auto *compare = e.terrain().findChild<CompareWindow *>();
        QVERIFY(compare && QTest::qWaitForWindowExposed(compare));
        const QRect editor = e.terrain().frameGeometry();
        QCOMPARE(atRightEdge ? compare->frameGeometry().right() + 1 : compare->x(),
                 atRightEdge ? editor.left() : editor.right() + 1);
        QVERIFY(screen.contains(compare->frameGeometry()));
    }

    void cleanupTestCase() { QCOMPARE(m_config.written(), QStringList()); }

private:
    DialogConfigFolder m_config;
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
