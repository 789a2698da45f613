#include "LoadedEditor.h"
#include "PaletteColours.h"
#include "PaletteExpectations.h"
#include "RangeOperations.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>

namespace {
void row(const char *steps, int first, int last, const char *change, int undoSteps) {
    QTest::newRow(steps) << QString::fromLatin1(steps) << first << last << QString(change)
                         << undoSteps;
}
// The distinct palette with entries first..last changed by "reverse", "ramp" or "adjust h c l".
Palette changed(int first, int last, const QString &change) {
    Palette palette = distinctPalette();
    const QList<QRgb> colours = entryColours(palette, first, last);
    const QStringList w = change.split(' ');
    const QList<QRgb> next = w[0] == "reverse" ? reverseColours(colours)
                             : w[0] == "ramp"  ? rampColours(colours)
                             : w[0] == "adjust"
                                 ? adjustColours(colours, w[1].toInt(), w[2].toInt(), w[3].toInt())
                                 : colours;
    for (int n = first; n <= last; ++n)
        setEntryColour(palette, n, next[n - first]);
    return palette;
}
} // namespace

// The grid menu's range tools on the real editor window, by right clicks, keys and typing.
class TestRanges : public QObject {
    Q_OBJECT

private slots:
    // From the distinct palette: "select10" clicks entry 10, "menuN" right-clicks entry N, a
    // number is typed where the focus is, "=" checks that the grid shows the change (still only
    // a preview while the dialog is open), "close" closes the dialog as its close box does; other
    // steps are keys as QKeySequence names them (a letter picks a menu item).
    void events_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("first"); // the range of the last menu opened
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("change"); // what "=" and, with a step, the end show
        QTest::addColumn<int>("undoSteps");  // the history's index at the end
        row("menu90 V", 88, 96, "reverse", 1);
        row("menu90 V = Ctrl+Z", 88, 96, "reverse", 0);
        row("select10 menu40 L", 10, 40, "ramp", 1);
        row("select10 menu40 L = Ctrl+Z", 10, 40, "ramp", 0);
        row("select10 menu11 L Esc", 10, 11, "", 0); // nothing between the ends: disabled
        row("select10 menu11 V", 10, 11, "reverse", 1);
        row("menu90 A 30 Tab 150 Tab -20 = Esc", 88, 96, "adjust 30 150 -20", 0);
        row("menu90 A Tab Tab 20 = close", 88, 96, "adjust 0 100 20", 0);
        row("select10 menu40 A 45 = Return", 10, 40, "adjust 45 100 0", 1);
        row("select10 menu40 A 45 Return = Ctrl+Z", 10, 40, "adjust 45 100 0", 0);
        row("menu90 A Return", 88, 96, "", 0);                    // the start values change nothing
        row("menu90 A Tab 0 Esc menu90 A Return", 88, 96, "", 0); // they are back on reopening
    }
    void events() {
        QFETCH(QString, steps);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, change);
        QFETCH(int, undoSteps);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette())));
        QVERIFY(!e.terrain().findChild<QDialog *>()); // made on first use
        const QList<int> outlined = steps.startsWith("select10") ? QList{10} : QList<int>{};
        const Palette after = changed(first, last, change);
        for (const QString &step : steps.split(' ')) {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeWindow());
            if (step == "select10") {
                sendMove(e.pic(), centreOfEntry(10));
                QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centreOfEntry(10));
            } else if (step.startsWith("menu")) {
                QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                                  e.pic()->mapTo(&e.terrain(), centreOfEntry(step.mid(4).toInt())));
            } else if (step == "=") {
                const bool preview = dialog != nullptr;
                QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(after, outlined)),
                         QString());
                QCOMPARE(
                    firstPaletteDifference(e.state().palette, preview ? distinctPalette() : after),
                    QString());
                QCOMPARE(e.terrain().history().stack().index(), preview ? 0 : 1);
            } else if (step == "close") {
                dialog->close();
            } else if (step[0].isDigit() || step[0] == '-') {
                QTest::keyClicks(QApplication::focusWidget(), step);
            } else {
                // With no window manager here, nothing gives the editor the keyboard back when a
                // dialog closes.
                if (!QApplication::activePopupWidget() && !QApplication::activeWindow())
                    e.terrain().activateWindow();
                QTRY_VERIFY(QApplication::activePopupWidget() || QApplication::focusWidget());
                QTest::keySequence(static_cast<QWidget *>(nullptr), QKeySequence(step));
            }
            if (step == "A") { // focus on the hue, its value selected, beside the editor
                QTRY_VERIFY(dialog = qobject_cast<QDialog *>(QApplication::activeWindow()));
                QCOMPARE(dialog->windowTitle(),
                         QString("Adjust entries %1\u2013%2").arg(first).arg(last));
                QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
                QVERIFY(!dialog->frameGeometry().intersects(e.terrain().frameGeometry()));
                auto *hue = qobject_cast<QSpinBox *>(QApplication::focusWidget());
                QVERIFY(hue && hue->findChild<QLineEdit *>()->selectedText() == "0");
            }
        }
        QTRY_VERIFY(!QApplication::activePopupWidget() && !QApplication::activeModalWidget());
        const QList<QAction *> items = e.terrain().gridMenu().menu()->actions();
        const auto item = [&](const char *text) {
            return *std::find_if(items.begin(), items.end(),
                                 [&](QAction *a) { return a->text().startsWith(text); });
        };
        QCOMPARE(item("Entries")->text(),
                 QString("Entries %1\u2013%2").arg(first).arg(last) +
                     (outlined.isEmpty() ? " \u00b7 " + className(first) : QString()));
        QCOMPARE(item("Ramp")->isEnabled(), last - first >= 2);
        const Palette expected = undoSteps ? after : distinctPalette();
        QCOMPARE(firstPaletteDifference(e.state().palette, expected), QString());
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(expected, outlined)), QString());
        QCOMPARE(e.terrain().history().stack().index(), undoSteps);
        QCOMPARE(e.state().anchorSet, !outlined.isEmpty());
    }
};

QTEST_MAIN(TestRanges)
#include "tst_ranges.moc"
