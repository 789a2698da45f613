#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

// What the editor shows of unsaved edits and an armed Spread, and what it asks before edits or
// another program's change to the file are lost.
class TestSignals : public QObject {
    Q_OBJECT

    std::unique_ptr<LoadedEditor> m_editor;
    QPoint m_at;

    // A digit moves onto entry 40 + digit, "c" clicks the grid there, "r"/"R" the red bar's
    // top/bottom arrow, "s" Spread, "_" Space on Spread, "S" Save, "u" Ctrl+Z, "y" Ctrl+Y, "X" the
    // close box. Another program "w" rewrites the file, "l" makes it longer, "t" touches it, "x"
    // removes it, "p" puts a named pipe in its place. A leading "L" loads a longer file.
    void run(const QString &script) {
        m_editor.reset(); // before the next one takes over the seams
        m_editor = std::make_unique<LoadedEditor>();
        const bool longer = script.startsWith(u'L');
        QVERIFY(m_editor->load(fileBytes(distinctPalette()) + (longer ? "L" : "")));
        for (const QChar c : script.mid(longer))
            step(c);
    }
    void step(QChar step) {
        Terrain &t = m_editor->terrain();
        QFile file(m_editor->path());
        const QByteArray name = QFile::encodeName(file.fileName());
        const auto arrow = step == u'r' ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
        if (step.isDigit())
            sendMove(t.pic, m_at = centreOfEntry(40 + step.digitValue()));
        else if (step == u'c')
            QTest::mouseClick(t.pic, Qt::LeftButton, {}, m_at);
        else if (step.toLower() == u'r')
            QTest::mouseClick(t.v1, Qt::LeftButton, {}, barPart(t.v1, arrow).center());
        else if (step.toLower() == u's')
            QTest::mouseClick(step == u's' ? t.spr : t.sav, Qt::LeftButton);
        else if (step == u'_') {
            t.spr->setFocus();
            QTest::keyClick(t.spr, Qt::Key_Space);
        } else if (step == u'u' || step == u'y')
            QTest::keyClick(&t, step == u'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        else if (step == u'w' || step == u'l')
            QVERIFY(file.open(step == u'w' ? QIODevice::WriteOnly : QIODevice::Append) &&
                    file.write(QByteArray(step == u'w' ? 768 : 1, 'w')) > 0);
        else if (step == u't')
            QCOMPARE(utime(name, nullptr), 0);
        else if (step == u'x' || step == u'p')
            QVERIFY(unlink(name) == 0 && (step == u'x' || mkfifo(name, 0600) == 0));
        else if (step == u'X')
            t.windowHandle()->close();
    }
    // The file's bytes; opening a named pipe would wait for a writer.
    QByteArray contents() const {
        return QFileInfo(m_editor->path()).isFile() ? readFile(m_editor->path()) : "(none)";
    }

private slots:
    void shownAfterEachStep_data() {
        QTest::addColumn<QString>("script");
        // After each step: "*" the caption's marker shows, "^" Spread shows pressed, "#" both.
        QTest::addColumn<QString>("shown");
        QTest::newRow("edit, undo, redo, save, undo") << "1cruySuy" << QString("..*.*.*.");
        QTest::newRow("a run back to where it began") << "1crrRR" << QString("..***.");
        QTest::newRow("arm, again, Space, fill, undo") << "1css_9cu" << QString("..^^^^*.");
        QTest::newRow("deselected while armed") << "1csc2c9c" << QString("..^^^^^*");
        QTest::newRow("undo and redo while armed") << "1crsuy" << QString("..*#^#");
    }
    void shownAfterEachStep() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        run(QString());
        QPushButton *spr = m_editor->terrain().spr;
        const QFont font = spr->font();
        QMap<bool, QImage> looks;
        for (qsizetype i = 0; i < script.size(); ++i) {
            step(script[i]);
            // What the window system is given to show, with the marker put in or left out.
            const bool unsaved = QString("*#").contains(shown[i]);
            const bool armed = QString("^#").contains(shown[i]);
            QCOMPARE(m_editor->terrain().windowHandle()->title(),
                     QString("europe.act%1 \u2014 Terrain Palette Editor").arg(unsaved ? "*" : ""));
            QCOMPARE(spr->isChecked(), armed);
            QCOMPARE(m_editor->state().isSpreadArmed(), armed);
            if (spr->isEnabled() && !spr->hasFocus())
                looks.insert(spr->isChecked(), spr->grab().toImage());
        }
        // Pressed looks pressed, in the same font and place.
        QVERIFY(looks.size() < 2 || looks[true] != looks[false]);
        QCOMPARE(spr->font(), font);
        QCOMPARE(spr->geometry(), QRect(272, 240, 49, 25));
    }

    void whatIsAsked_data() {
        QTest::addColumn<QString>("script"); // ends in "S" Save or "X" the close box
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("asked"); // what each question says after the file's name
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("ends");
        const QList<Answer> save{Answer::save}, cancel{Answer::cancel}, discard{Answer::discard};
        const QStringList none, changed{"was changed"}, removed{"was removed"}, lost{"has changes"};
        QTest::newRow("rewritten, Save") << "1crwS" << save << changed << true << false;
        QTest::newRow("rewritten, Cancel") << "1crwS" << cancel << changed << false << false;
        QTest::newRow("same start, longer") << "1crlS" << cancel << changed << false << false;
        QTest::newRow("removed, Save") << "1crxS" << save << removed << true << false;
        QTest::newRow("removed, Cancel") << "1crxS" << cancel << removed << false << false;
        QTest::newRow("only touched") << "1crtS" << cancel << none << true << false;
        QTest::newRow("loaded longer, untouched") << "L1crS" << cancel << none << true << false;
        QTest::newRow("saved, then changed") << "1crSrwS" << cancel << changed << false << false;
        QTest::newRow("saved, then edited") << "1crSrS" << cancel << none << true << false;
        QTest::newRow("close, nothing unsaved") << "1cX" << cancel << none << false << true;
        QTest::newRow("close, edit undone") << "1cruX" << cancel << none << false << true;
        QTest::newRow("close, Save") << "1crX" << save << lost << true << true;
        QTest::newRow("close, Discard") << "1crX" << discard << lost << false << true;
        QTest::newRow("close, Cancel") << "1crX" << cancel << lost << false << false;
        QTest::newRow("close, Save fails") << "1crpX" << save << lost << false << false;
        QTest::newRow("close, Save, Cancel at the change")
            << "1crwX" << save << lost + changed << false << false;
    }
    void whatIsAsked() {
        QFETCH(QString, script);
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, saved);
        QFETCH(bool, ends);
        run(script.chopped(1));
        LoadedEditor &editor = *m_editor;
        const QByteArray before = contents();
        const auto shown = [&] {
            const EditorState &s = editor.state();
            return std::tuple(editor.pic()->image(), fileBytes(s.palette), s.anchorIndex,
                              editor.terrain().history().stack().index(),
                              editor.terrain().t1->text());
        };
        const auto kept = shown();
        editor.answers = answers;
        step(script.back());

        QCOMPARE(editor.questions.size(), asked.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            const Question &question = editor.questions[i];
            const bool closing = asked[i] == "has changes"; // offers Discard; Enter saves
            QList<Answer> offered{Answer::save, Answer::discard, Answer::cancel};
            offered.removeAll(closing ? Answer(-1) : Answer::discard);
            QVERIFY2(question.text.contains(editor.path() + ' ' + asked[i]),
                     qPrintable(question.text));
            QCOMPARE(question.answers, offered);
            QCOMPARE(question.defaultAnswer, closing ? Answer::save : Answer::cancel);
        }
        QCOMPARE(contents(), saved ? std::get<1>(kept) : before);
        QCOMPARE(editor.endRequests, int(ends));
        QCOMPARE(editor.errors.size(), int(script.contains(u'p')));
        // Unless the program ends, every edit, the selection and the history stay as they were.
        QVERIFY(ends || (editor.terrain().isVisible() && shown() == kept));
    }
};

QTEST_MAIN(TestSignals)
#include "tst_signals.moc"
