#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

// Spread stays pressed exactly while the next pick would fill, however it was armed.
class TestSpreadButton : public QObject {
    Q_OBJECT

private slots:
    void pressedWhileArmed_data();
    void pressedWhileArmed();
};

void TestSpreadButton::pressedWhileArmed_data() {
    // A digit moves onto entry 40 + digit, "c" clicks the grid there, "s" clicks Spread, "_"
    // presses Space on it, "r" raises red, "u" Ctrl+Z, "y" Ctrl+Y.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("armed"); // after each step: "*" armed, "." not
    QTest::newRow("arm, again, again, fill") << "1csss9c"
                                             << "..****.";
    QTest::newRow("Space, Space, fill") << "1c__9c"
                                        << "..***.";
    QTest::newRow("deselected while armed") << "1csc2c9c"
                                            << "..*****.";
    QTest::newRow("undo and redo while armed") << "1crsuy"
                                               << "...***";
}

void TestSpreadButton::pressedWhileArmed() {
    QFETCH(QString, script);
    QFETCH(QString, armed);
    LoadedEditor editor;
    QVERIFY(editor.load(fileBytes(distinctPalette())));
    QVERIFY(QTest::qWaitForWindowActive(&editor.terrain()));
    Terrain &t = editor.terrain();
    const QFont font = t.spr->font();
    QPoint at;
    QMap<bool, QImage> looks;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar step = script[i];
        if (step.isDigit())
            sendMove(t.pic, at = centreOfEntry(40 + step.digitValue()));
        else if (step == u'c')
            QTest::mouseClick(t.pic, Qt::LeftButton, {}, at);
        else if (step == u's')
            QTest::mouseClick(t.spr, Qt::LeftButton);
        else if (step == u'_') {
            t.spr->setFocus();
            QTest::keyClick(t.spr, Qt::Key_Space);
        } else if (step == u'r')
            QTest::mouseClick(t.v1, Qt::LeftButton, {},
                              barPart(t.v1, QStyle::SC_ScrollBarSubLine).center());
        else
            QTest::keyClick(&t, step == u'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        const bool shouldBe = armed[i] == u'*';
        QCOMPARE(editor.state().isSpreadArmed(), shouldBe);
        QCOMPARE(t.spr->isChecked(), shouldBe);
        if (t.spr->isEnabled())
            looks.insert(shouldBe, t.spr->grab().toImage());
    }
    // Pressed looks pressed, in the same font and place.
    QVERIFY(looks.size() == 2 && looks[true] != looks[false]);
    QCOMPARE(t.spr->font(), font);
    QCOMPARE(t.spr->geometry(), QRect(272, 240, 49, 25));
}

QTEST_MAIN(TestSpreadButton)
#include "tst_spreadbutton.moc"
