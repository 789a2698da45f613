#include "ColourText.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace {
Palette with(int entry, QRgb colour) {
    Palette palette = distinctPalette();
    setColour(palette, entry, qRed(colour), qGreen(colour), qBlue(colour));
    return palette;
}
void row(const char *steps, int entry, int colour, int undoSteps) {
    QTest::newRow(steps) << QString::fromLatin1(steps) << entry << colour << undoSteps;
}
} // namespace

// Copy, paste and the colour dialog on the real editor window, by keys and clicks.
class TestColours : public QObject {
    Q_OBJECT

private slots:
    void textForms_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour"); // invalid: no colour
        for (const char *form : {"#aa55ff", " \tAA55FF\n", "#a5F", "RGB(170, 85,255)",
                                 "170 85  255", "170,85,255", "170 ,85,\t255"})
            QTest::newRow(form) << form << QColor(0xaa55ff);
        for (const char *none :
             {"", "red", "abc", "#a5f0", "#a5f0f", "#aa55ff0", "#aa55ff00", "#aa55fg", "1 2 256",
              "1 2", "1 2 3 4", "1,,2,3", "-1 0 0", "1.5 2 3", "rgb(1, 2)", "rgb(1 2 3)"})
            QTest::newRow(none) << none << QColor();
    }
    void textForms() {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QCOMPARE(colourOfText(text).value_or(QColor()), colour);
    }

    // From the distinct palette, 18 selected under the keyboard cell, " 7A5C3E" on the clipboard:
    // keys as QKeySequence names them (to the menu, else the focus), "#rrggbb" typed into the
    // colour dialog, "menu40" a right click on 40 with #010203 offered as a colour too.
    void events_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("entry");        // the entry acted on, or copied
        QTest::addColumn<int>("colour");       // its colour at the end, or copied; -1: as loaded
        QTest::addColumn<int>("undoSteps");    // the history's index at the end
        row("Ctrl+V Ctrl+V", 18, 0x7a5c3e, 1); // the colour it has: no step
        row("Ctrl+V Ctrl+Z", 18, -1, 0);
        row("Ctrl+V Ctrl+Z Ctrl+Shift+Z", 18, 0x7a5c3e, 1);
        row("Space Ctrl+V Right Ctrl+C", 19, 0xd48bf6, 0); // unselected: no paste, pointer's copied
        row("Spread Ctrl+C", 18, 0xc96ec1, 0);             // the selected entry, not the pointer's
        row("menu40 P", 40, 0x010203, 1);                  // the selection and its outline stay
        row("Menu E #102030 Esc", 18, -1, 0);
        row("Right Shift+F10 E #102030 Return", 19, 0x102030, 1);
    }
    void events() {
        QFETCH(QString, steps);
        QFETCH(int, entry);
        QFETCH(int, colour);
        QFETCH(int, undoSteps);
        LoadedEditor e;
        QVERIFY(e.load(fileBytes(distinctPalette()))); // menu and dialog come on first use
        QVERIFY(!e.terrain().findChild<QMenu *>() && !e.terrain().findChild<QColorDialog *>());
        sendMove(e.pic(), centreOfEntry(18)); // a click acts where the pointer was last seen
        QTest::mouseClick(e.pic(), Qt::LeftButton, {}, centreOfEntry(18));
        auto *data = new QMimeData; // a valid colour wins over the text beside it
        data->setText(QStringLiteral(" 7A5C3E\n"));
        data->setColorData(entry == 40 ? QColor(0x010203) : QColor());
        QGuiApplication::clipboard()->setMimeData(data);
        const QImage preview = expectedPicture(with(entry, 0x102030), {18}); // outline kept
        for (const QString &step : steps.split(' ')) {
            if (step == QStringLiteral("menu40")) { // the window turns it into a menu request
                QTest::mouseClick(e.terrain().windowHandle(), Qt::RightButton, {},
                                  e.pic()->mapTo(&e.terrain(), centreOfEntry(40)));
            } else if (step == QStringLiteral("Spread")) { // armed, the pointer recorded on 50
                QTest::mouseClick(e.terrain().spr, Qt::LeftButton);
                sendMove(e.pic(), centreOfEntry(50));
            } else if (step.startsWith('#')) {
                QTRY_VERIFY(qobject_cast<QColorDialog *>(QApplication::activeWindow()));
                QTest::keyClick(QApplication::activeWindow(), Qt::Key_H, Qt::AltModifier);
                QTest::keyClicks(QApplication::focusWidget(), step);
                QCOMPARE(firstDifference(e.pic()->image(), preview), QString());
            } else {
                QTest::keySequence(static_cast<QWidget *>(nullptr), QKeySequence(step));
            }
        }
        const Palette expected = colour < 0 ? distinctPalette() : with(entry, colour);
        const QList<int> outlined = steps[0] == 'S' ? QList<int>{} : QList{18}; // Space, Spread
        QCOMPARE(firstPaletteDifference(e.state().palette, expected), QString());
        QCOMPARE(firstDifference(e.pic()->image(), expectedPicture(expected, outlined)), QString());
        QCOMPARE(e.terrain().history().stack().index(), undoSteps);
        if (steps.endsWith(QStringLiteral("Ctrl+C"))) { // as text and as colour data
            QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QColor(colour).name());
            QCOMPARE(QGuiApplication::clipboard()->mimeData()->colorData(), QColor(colour));
        }
    }
};

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
