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
        m_editor.reset(); // gives back the seams before the next one takes them
        m_editor = std::make_unique<LoadedEditor>();
        if (!m_editor->load(fileBytes(distinctPalette())))
            return false;
        point(18, true);
        return m_editor->state().anchorSet;
    }
    void point(int entry, bool click = false) {
        sendMove(m_editor->pic(), centreOfEntry(entry));
        if (click)
            QTest::mouseClick(m_editor->pic(), Qt::LeftButton, {}, centreOfEntry(entry));
    }
    // Empty when the palette, the grid and entry 18's read-out are as expected, 18 selected and
    // outlined.
    QString difference(const Palette &palette) const {
        const EditorState &s = m_editor->state();
        QString found = firstPaletteDifference(s.palette, palette) +
                        firstDifference(m_editor->pic()->image(), expectedPicture(palette, {18}));
        if (!s.anchorSet || s.anchorIndex != 18)
            found += QStringLiteral(" selection");
        for (int c = 1; c <= 3; ++c)
            if (m_editor->terrain().channelText(c)->text().toInt() != palette[18][c] ||
                m_editor->terrain().bar(c)->channelValue() != palette[18][c])
                found += QStringLiteral(" channel %1 read-out").arg(c);
        return found;
    }
    int steps() const { return m_editor->terrain().history().stack().index(); }
    // Ctrl+C, then the clipboard's text and its colour data.
    static QString copy() {
        press(Qt::Key_C);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data->text() + ' ' + qvariant_cast<QColor>(data->colorData()).name(QColor::HexArgb);
    }

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

    void keys() {
        QVERIFY(load());
        // Menu and dialog come on first use, not at start-up.
        QVERIFY(m_editor->terrain().findChildren<QMenu *>().isEmpty() &&
                m_editor->terrain().findChildren<QColorDialog *>().isEmpty());
        QScrollBar *red = m_editor->terrain().v1;
        const QPoint raise = barPart(red, QStyle::SC_ScrollBarSubLine).center();
        QTest::mouseClick(red, Qt::LeftButton, {}, raise);
        const Palette raised = m_editor->state().palette, pasted = with(18, 0x7a5c3e);
        QGuiApplication::clipboard()->setText(QStringLiteral(" 7A5C3E\n"));
        press(Qt::Key_V);
        QCOMPARE(difference(pasted), QString());
        press(Qt::Key_V);                                  // the colour it has: no step
        QTest::mouseClick(red, Qt::LeftButton, {}, raise); // a step apart from the first
        QCOMPARE(steps(), 3);
        press(Qt::Key_Z);
        QCOMPARE(difference(pasted), QString());
        press(Qt::Key_Z);
        QCOMPARE(difference(raised), QString());
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(difference(pasted), QString());
        point(18, true); // nothing selected: nothing to paste onto, not even the pointer's entry
        QGuiApplication::clipboard()->setText(QStringLiteral("#010203"));
        press(Qt::Key_V);
        QCOMPARE(steps(), 2);
        point(50); // nothing selected: the entry under the pointer is copied
        QCOMPARE(copy(), QStringLiteral("#290e61 #ff290e61"));
        point(18, true); // selected, Spread armed, the pointer recorded on 50: still 18 is copied
        QTest::mouseClick(m_editor->terrain().spr, Qt::LeftButton);
        point(50);
        QCOMPARE(copy(), QStringLiteral("#7a5c3e #ff7a5c3e"));
    }

    void menu_data() {
        // 18 is selected and outlined: the Menu key opens its menu. 19 is only under the pointer:
        // Shift+F10. 40 is not under the pointer: a right click.
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("close"); // the colour dialog's closing key; none: Paste instead
        QTest::newRow("right click, Paste") << 40 << 0;
        QTest::newRow("selected, Menu key, Edit, OK") << 18 << int(Qt::Key_Return);
        QTest::newRow("selected, Menu key, Edit, Escape") << 18 << int(Qt::Key_Escape);
        QTest::newRow("unselected, Shift+F10, Edit, OK") << 19 << int(Qt::Key_Return);
        QTest::newRow("unselected, Shift+F10, Edit, Escape") << 19 << int(Qt::Key_Escape);
    }
    void menu() {
        QFETCH(int, entry);
        QFETCH(int, close);
        QVERIFY(load());
        point(entry == 40 ? 18 : entry); // the keyboard cell follows, the selection stays
        const QImage before = m_editor->pic()->grab().toImage();
        if (entry == 40) { // the colour itself wins over the text beside it
            auto *data = new QMimeData;
            data->setText(QStringLiteral("#ffffff"));
            data->setColorData(QColor(1, 2, 3));
            QGuiApplication::clipboard()->setMimeData(data);
            // Through the window, which turns the press into a context menu request.
            QTest::mouseClick(m_editor->terrain().windowHandle(), Qt::RightButton, {},
                              m_editor->pic()->mapTo(&m_editor->terrain(), centreOfEntry(40)));
        } else {
            QGuiApplication::clipboard()->setText(QStringLiteral("grass"));
            press(entry == 18 ? Qt::Key_Menu : Qt::Key_F10,
                  entry == 18 ? Qt::NoModifier : Qt::ShiftModifier);
        }
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const Palette start = distinctPalette();
        const QColor was(start[entry][1], start[entry][2], start[entry][3]);
        const QString title = QStringLiteral("Entry %1 \u00b7 %2 \u00b7 %3").arg(entry);
        QCOMPARE(menu->actions().first()->text(), title.arg(className(entry), was.name()));
        // The title is no command; Paste only while the clipboard holds a colour.
        QVERIFY(!menu->actions().first()->isEnabled());
        QCOMPARE(menu->actions().value(3)->isEnabled(), entry == 40);
        QTest::keyClick(menu, close ? Qt::Key_E : Qt::Key_P);
        const Palette edited = with(entry, close ? 0x102030 : 0x010203);
        if (close) {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(),
                     QStringLiteral("Colour of entry %1 \u00b7 Dirt / Road Close").arg(entry));
            QTRY_COMPARE(QApplication::activeWindow(), dialog);
            QTest::keyClick(dialog, Qt::Key_H, Qt::AltModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("#102030"));
            // The cell shows the colour being picked, its outline kept; the palette is unchanged.
            QCOMPARE(firstDifference(m_editor->pic()->image(), expectedPicture(edited, {18})),
                     QString());
            QCOMPARE(firstPaletteDifference(m_editor->state().palette, start), QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(close));
        }
        const bool changed = close != int(Qt::Key_Escape);
        const Palette now = changed ? edited : start;
        QCOMPARE(steps(), int(changed));
        QCOMPARE(difference(now), QString());
        if (!changed)
            QCOMPARE(firstDifference(m_editor->pic()->grab().toImage(), before), QString());
        if (entry == 40) {
            press(Qt::Key_V); // the window's key, beside the menu's
            QCOMPARE(difference(with(18, 0x010203, now)), QString());
        }
    }
};

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
