#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

// Undo and redo by their keys on the real editor window, after edits made with the mouse.
class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void undoAndRedo_data();
    void undoAndRedo();
};

void TestUndo::undoAndRedo_data() {
    // A digit moves onto entry 40 + digit, "c" clicks the grid, "s" Spread, "S" Save, "r"/"g" the
    // red/green bar's top arrow, "R"/"G" its bottom one, "u" Ctrl+Z, "y" Ctrl+Y, "Y" Ctrl+Shift+Z
    // on the focused control; "|" notes the palette before a step. Each row ends in another state.
    QTest::addColumn<QString>("script");
    QTest::newRow("nothing to take") << "0ccR";
    QTest::newRow("runs and what ends them") << "0c|rrrrrrrRRR|g|rc1c|r|s9c|1crgu|ruy|rc0r";
    // One step back where it began, across no-op fills and changes, selecting, Save, Spread, keys.
    QTest::newRow("what does not end a run") << "0c|rccrSryYrsr1c0crcrcRRRRRRR|gs9s";
    // The red bar already stands at the value the undo restores, its read-out does not.
    QTest::newRow("selected, bar moved while deselected") << "0c|rcRc";
    QTest::newRow("nothing selected, Spread armed") << "0c|gggscS";
    QTest::newRow("deselected with Spread armed, hovered") << "0c|rsc0";
}

void TestUndo::undoAndRedo() {
    QFETCH(QString, script);
    LoadedEditor editor;
    QVERIFY(editor.load(fileBytes(distinctPalette())));
    QVERIFY(QTest::qWaitForWindowActive(&editor.terrain()));
    Terrain &t = editor.terrain();
    const EditorState &s = editor.state();
    QList<Palette> marks;
    int at = 0;
    const auto run = [&](const QString &steps) {
        for (const QChar step : steps) {
            ChannelBar *bar = t.bar(step.toLower() == u'g' ? 2 : 1);
            const QRect arrow = barPart(bar, step.isLower() ? QStyle::SC_ScrollBarSubLine
                                                            : QStyle::SC_ScrollBarAddLine);
            if (step.isDigit())
                sendMove(t.pic, centreOfEntry(at = 40 + step.digitValue()));
            else if (step == u'|')
                marks.append(s.palette);
            else if (step == u'c')
                QTest::mouseClick(t.pic, Qt::LeftButton, {}, centreOfEntry(at));
            else if (step.toLower() == u's')
                QTest::mouseClick(step == u's' ? t.spr : t.sav, Qt::LeftButton);
            else if (QStringLiteral("rRgG").contains(step))
                QTest::mouseClick(bar, Qt::LeftButton, {}, arrow.center());
            else
                QTest::keyClick(QApplication::focusWidget(), step == u'y' ? Qt::Key_Y : Qt::Key_Z,
                                step == u'Y' ? Qt::ControlModifier | Qt::ShiftModifier
                                             : Qt::ControlModifier);
        }
    };
    // The grid, the selection, each bar and its read-out, the class read-out.
    const auto shown = [&] {
        QStringList all{QString::asprintf("%d %d %d %d", s.anchorSet, s.anchorIndex, s.spreadArmed,
                                          t.spr->isEnabled())};
        for (int c = 1; c <= 3; ++c)
            all << QString::number(t.bar(c)->channelValue()) << t.channelText(c)->text();
        return std::pair(editor.pic()->image(), all << t.ty->text());
    };
    run(script);
    QCOMPARE(t.history().stack().index(), marks.size());
    marks.append(s.palette);
    // With nothing to undo or redo a key changes nothing at all, not even a stray bar.
    const auto before = shown();
    run(QString::fromLatin1(marks.size() > 1 ? "yY" : "uyY"));
    QVERIFY(shown() == before);
    // Back to the first note and forward again, once per redo key. Each key leaves the noted
    // palette, the grid and bars as a refresh draws them, and the selection as it was.
    for (const QChar redo : {u'y', u'Y'})
        for (qsizetype i = 2 - marks.size(); i < marks.size(); ++i) {
            QStringList want = shown().second;
            run(i > 0 ? redo : u'u');
            QCOMPARE(firstPaletteDifference(s.palette, marks[qAbs(i)]), QString());
            const QList<int> outline(s.anchorSet && !s.isSpreadArmed(), s.anchorIndex);
            QCOMPARE(firstDifference(editor.pic()->image(), expectedPicture(s.palette, outline)),
                     QString());
            const int n = s.anchorSet ? s.anchorIndex : at;
            for (int c = 1; c <= 3; ++c)
                want[2 * c - 1] = want[2 * c] = QString::number(s.palette[n][c]);
            QCOMPARE(shown().second, want);
        }
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
