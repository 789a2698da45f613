#include "ColourText.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

Palette with(int entry, QRgb colour, Palette palette = distinctPalette()) {
    setColour(palette, entry, qRed(colour), qGreen(colour), qBlue(colour));
    return palette;
}

} // namespace

// Copy, paste and the colour dialog on the real editor window, by keys and clicks.
class TestColours : public QObject {
    Q_OBJECT

    std::unique_ptr<LoadedEditor> m_editor;

    // Loads the distinct palette and selects entry 18.
    bool load() {
        m_editor = std::make_unique<LoadedEditor>();
        if (!m_editor->load(fileBytes(distinctPalette())) ||
            !QTest::qWaitForWindowActive(&m_editor->terrain()))
            return false;
        point(18, true);
        return m_editor->state().anchorSet;
    }
    void point(int entry, bool click = false) {
        sendMove(m_editor->pic(), centreOfEntry(entry));
        if (click)
            QTest::mouseClick(m_editor->pic(), Qt::LeftButton, {}, centreOfEntry(entry));
    }
    // Empty when the palette, the grid (outline on the selection) and entry 18's read-out are
    // as expected.
    QString difference(const Palette &palette) const {
        const EditorState &s = m_editor->state();
        const QList<int> outline(s.anchorSet, s.anchorIndex);
        QString found =
            firstPaletteDifference(s.palette, palette) +
            firstDifference(m_editor->pic()->image(), expectedPicture(palette, outline));
        for (int c = 1; c <= 3; ++c)
            if (m_editor->terrain().channelText(c)->text().toInt() != palette[18][c] ||
                m_editor->terrain().bar(c)->channelValue() != palette[18][c])
                found += QStringLiteral(" channel %1 read-out").arg(c);
        return found;
    }
    int steps() const { return m_editor->terrain().history().stack().index(); }

private slots:
    void textForms_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("colour"); // empty: no colour
        // Text and colour, in pairs.
        const char *const forms[] = {"#7a5c3e",      "#7a5c3e", " \t7A5C3E\n",     "#7a5c3e",
                                     "#a5F",         "#aa55ff", "rgb(10, 20, 30)", "#0a141e",
                                     "RGB(0,255,7)", "#00ff07", "10 20  30",       "#0a141e",
                                     "10,20,30",     "#0a141e", "255 ,0,\t7",      "#ff0007"};
        for (std::size_t i = 0; i < std::size(forms); i += 2)
            QTest::newRow(forms[i]) << forms[i] << forms[i + 1];
        for (const char *none :
             {"", "grass", "red", "abc", "#7a5c", "#7a5c3", "#7a5c3e1", "#7a5c3e10", "#7a5c3g",
              "10 20 256", "10 20", "10 20 30 40", "10,,20,30", "-1 0 0", "1.5 2 3", "rgb(1, 2)",
              "rgb(1 2 3)", "#7a5c3e #000"})
            QTest::newRow(none) << none << "";
    }
    void textForms() {
        QFETCH(QString, text);
        QFETCH(QString, colour);
        const std::optional<QColor> read = colourOfText(text);
        QCOMPARE(read ? read->name() : QString(), colour);
    }

    void pasteKeyAndUndo() {
        QVERIFY(load());
        const auto raiseRed = [this] {
            QScrollBar *red = m_editor->terrain().v1;
            QTest::mouseClick(red, Qt::LeftButton, {},
                              barPart(red, QStyle::SC_ScrollBarSubLine).center());
        };
        raiseRed();
        const Palette raised = m_editor->state().palette;
        QGuiApplication::clipboard()->setText(QStringLiteral(" 7A5C3E\n"));
        press(Qt::Key_V);
        QCOMPARE(difference(with(18, 0x7a5c3e)), QString());
        press(Qt::Key_V); // the colour it has: no step
        raiseRed();       // a step of its own, apart from the first
        QCOMPARE(steps(), 3);
        press(Qt::Key_Z);
        QCOMPARE(difference(with(18, 0x7a5c3e)), QString());
        press(Qt::Key_Z);
        QCOMPARE(difference(raised), QString());
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(difference(with(18, 0x7a5c3e)), QString());
        point(18, true); // nothing selected: nothing to paste onto
        press(Qt::Key_V);
        QCOMPARE(steps(), 2);
    }

    void menuOnUnselectedEntry() {
        QVERIFY(load());
        const auto menuOn40 = [this] {
            // Through the window, which turns the press into a context menu request.
            QTest::mouseClick(m_editor->terrain().windowHandle(), Qt::RightButton, {},
                              m_editor->pic()->mapTo(&m_editor->terrain(), centreOfEntry(40)));
            return qobject_cast<QMenu *>(QApplication::activePopupWidget());
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("grass"));
        QMenu *menu = menuOn40();
        QVERIFY(menu && !menu->actions().value(3)->isEnabled()); // Paste: no colour to paste
        QTest::keyClick(menu, Qt::Key_Escape);
        auto *data = new QMimeData; // the colour itself wins over the text beside it
        data->setText(QStringLiteral("#ffffff"));
        data->setColorData(QColor(1, 2, 3));
        QGuiApplication::clipboard()->setMimeData(data);
        QVERIFY((menu = menuOn40()));
        QCOMPARE(menu->actions().first()->text(),
                 QStringLiteral("Entry 40 \u00b7 Grass Close \u00b7 #bbec4f"));
        QVERIFY(!menu->actions().first()->isEnabled());
        QTest::keyClick(menu, Qt::Key_P);
        // Entry 18 stays selected, outlined and read out.
        QVERIFY(!QApplication::activePopupWidget() && m_editor->state().anchorIndex == 18);
        QCOMPARE(difference(with(40, 0x010203)), QString());
        press(Qt::Key_V); // the window's key, beside the menu's
        QCOMPARE(difference(with(18, 0x010203, with(40, 0x010203))), QString());
    }

    void dialog_data() {
        QTest::addColumn<int>("entry"); // 18 is selected and outlined, 19 only under the pointer
        QTest::addColumn<bool>("ok");
        QTest::newRow("selected, Menu key, OK") << 18 << true;
        QTest::newRow("selected, Menu key, Escape") << 18 << false;
        QTest::newRow("unselected, Shift+F10, OK") << 19 << true;
        QTest::newRow("unselected, Shift+F10, Escape") << 19 << false;
    }
    void dialog() {
        QFETCH(int, entry);
        QFETCH(bool, ok);
        QVERIFY(load());
        point(entry); // the keyboard cell follows, the selection stays
        const QImage before = m_editor->pic()->grab().toImage();
        press(entry == 18 ? Qt::Key_Menu : Qt::Key_F10,
              entry == 18 ? Qt::NoModifier : Qt::ShiftModifier);
        QVERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E);
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(),
                 QStringLiteral("Colour of entry %1 \u00b7 Dirt / Road Close").arg(entry));
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QTest::keyClick(dialog, Qt::Key_H, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("#102030"));
        // The cell shows the colour being picked, its outline kept; the palette is unchanged.
        const Palette edited = with(entry, 0x102030);
        QCOMPARE(firstDifference(m_editor->pic()->image(), expectedPicture(edited, {18})),
                 QString());
        QCOMPARE(firstPaletteDifference(m_editor->state().palette, distinctPalette()), QString());
        QTest::keyClick(QApplication::focusWidget(), ok ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(steps(), ok ? 1 : 0);
        QCOMPARE(difference(ok ? edited : distinctPalette()), QString());
        if (!ok)
            QCOMPARE(firstDifference(m_editor->pic()->grab().toImage(), before), QString());
    }

    void copyKey() {
        QVERIFY(load());
        // Menu and dialog come on first use, not at start-up.
        QVERIFY(m_editor->terrain().findChildren<QMenu *>().isEmpty());
        QVERIFY(m_editor->terrain().findChildren<QColorDialog *>().isEmpty());
        // 18 selected, Spread armed, the pointer recorded on 50; then a click on 50 spreads.
        QTest::mouseClick(m_editor->terrain().spr, Qt::LeftButton);
        for (const int entry : {18, 50}) {
            point(50, entry == 50);
            press(Qt::Key_C);
            const auto &row = m_editor->state().palette[entry];
            const QColor colour(row[1], row[2], row[3]);
            QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), colour.name());
            QCOMPARE(qvariant_cast<QColor>(QGuiApplication::clipboard()->mimeData()->colorData()),
                     colour);
        }
    }
};

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
