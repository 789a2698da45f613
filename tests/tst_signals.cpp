#include "LoadedEditor.h"
#include "PaletteExpectations.h"
#include "PaletteFileHooks.h"

#include <sys/stat.h>

// The caption's unsaved marker, the pressed Spread, and what is asked before work could be lost.
class TestSignals : public QObject {
    Q_OBJECT
private slots:
    void afterEachStep_data() {
        QTest::addColumn<QString>("script");    // a leading "L" loads a file one byte longer
        QTest::addColumn<bool>("ends");         // the program ends after the last step
        QTest::addColumn<QString>("shown");     // "*" caption marked, "^" Spread pressed, "#" both
        QTest::addColumn<QStringList>("asked"); // word after "was"/"has"; buttons, [default]
        const QStringList no, changed{"changed S [C]"}, gone{"removed S [C]"},
            lost{"changes [S] D C"};
        QTest::newRow("back to the saved bytes") << "1rSur" << false << ".*.*." << no;
        QTest::newRow("while armed") << "1rsuys129uu" << false << ".*#^####**." << no;
        QTest::newRow("rewritten, Save") << "1rw+S" << false << ".***." << changed;
        QTest::newRow("rewritten, Cancel") << "1rwS" << false << ".***" << changed;
        QTest::newRow("same start, longer") << "1rlS" << false << ".***" << changed;
        QTest::newRow("removed, Save") << "1rx+S" << false << ".***." << gone;
        QTest::newRow("removed, Cancel") << "1rxS" << false << ".***" << gone;
        QTest::newRow("only touched") << "1rtS" << false << ".**." << no;
        QTest::newRow("loaded longer, saved twice") << "L1rSrS" << false << ".*.*." << no;
        QTest::newRow("saved, then changed") << "1rSrwS" << false << ".*.***" << changed;
        QTest::newRow("close, nothing unsaved") << "1X" << true << ".." << no;
        QTest::newRow("close, edit undone") << "1ruX" << true << ".*.." << no;
        QTest::newRow("close, Save") << "1r+X" << true << ".**." << lost;
        QTest::newRow("close, Discard") << "1r-X" << true << ".***" << lost;
        QTest::newRow("close, Cancel") << "1rX" << false << ".**" << lost;
        QTest::newRow("close, Save fails") << "1rp+X" << false << ".****" << lost;
        QTest::newRow("close, Save, Cancel") << "1rw+X" << false << ".****" << lost + changed;
        QTest::newRow("rewritten while asked")
            << "1rwa++S" << false << ".*****." << changed + changed;
        QTest::newRow("rewritten while asked, Cancel")
            << "1rwa+S" << false << ".*****" << changed + changed;
        QTest::newRow("written back while asked") << "1rwb+S" << false << ".****." << changed;
        QTest::newRow("folder sync fails") << "1rfS" << false << ".**." << no;
        QTest::newRow("close, Save, folder sync fails") << "1rf+X" << false << ".***." << lost;
    }
    void afterEachStep() {
        QFETCH(QString, script);
        QFETCH(bool, ends);
        QFETCH(QString, shown);
        QFETCH(QStringList, asked);
        LoadedEditor editor;
        const QString steps = script.mid(script.startsWith(u'L')), path = editor.path();
        QVERIFY(editor.load(fileBytes(distinctPalette()) + (steps != script ? "L" : "")));
        Terrain &t = editor.terrain();
        // A digit clicks entry 40 + digit, "r" raises red, "s" Spread, "S" Save, "u"/"y" undo/redo,
        // "X" closes, "+"/"-" answer the next question Save/Discard (else Cancel). Another program
        // "w" rewrites the file, "l" lengthens it, "t" only touches it, "x" removes it, "p" puts a
        // named pipe in its place; while the next question is open it "a" rewrites the file again
        // or "b" writes back the bytes loaded. "f" makes the folder's sync fail from then on.
        QString whileAsked;
        const Asker answer = setAsker([&](QWidget *parent, const Question &question) {
            if (!whileAsked.isEmpty())
                writeFile(path, whileAsked.front() == u'a' ? QByteArray(768, 'a')
                                                           : fileBytes(distinctPalette()));
            whileAsked.remove(0, 1);
            return answer(parent, question);
        });
        const auto unhook = qScopeGuard([] { beforeDurableStep = nullptr; });
        const auto step = [&](QChar c) {
            if (c.isDigit()) {
                sendMove(t.pic, centreOfEntry(40 + c.digitValue()));
                QTest::mouseClick(t.pic, Qt::LeftButton, {}, centreOfEntry(40 + c.digitValue()));
            } else if (c == u'r')
                QTest::keyClick(t.v1, Qt::Key_Up);
            else if (c.toLower() == u's')
                QTest::mouseClick(c == u's' ? t.spr : t.sav, Qt::LeftButton);
            else if (c == u'u' || c == u'y')
                QTest::keyClick(&t, c == u'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            else if (c == u'X')
                t.windowHandle()->close();
            else if (c == u'+' || c == u'-')
                editor.answers << (c == u'+' ? Answer::save : Answer::discard);
            else if (c == u'w' || c == u'l' || c == u't') // "t" writes the same bytes back
                QVERIFY(writeFile(path, c == u'w' ? QByteArray(768, 'w')
                                                  : readFile(path) + (c == u'l' ? "l" : "")));
            else if (c == u'a' || c == u'b')
                whileAsked += c;
            else if (c == u'f')
                beforeDurableStep = [](DurableStep s, int) {
                    return s == DurableStep::syncFolder ? EIO : 0;
                };
            else if (c == u'x' || c == u'p')
                QVERIFY(QFile::remove(path) && (c == u'x' || !mkfifo(qPrintable(path), 0600)));
        };
        const auto state = [&] { return std::pair(t.pic->image(), t.history().stack().index()); };
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const auto kept = state();
            step(steps[i]);
            QCOMPARE(t.windowHandle()->title(),
                     QString("europe.act%1 \u2014 Terrain Palette Editor")
                         .arg(QString("*#").contains(shown[i]) ? "*" : ""));
            QCOMPARE(t.spr->isChecked(), QString("^#").contains(shown[i]));
            // Save and the close box keep every edit, the selection and the history.
            QVERIFY(ends || !steps[i].isUpper() || (t.isVisible() && state() == kept));
        }
        QStringList seen;
        for (const Question &q : editor.questions) {
            seen << q.text.section(path + ' ', 1).section(' ', 1, 1);
            for (const Answer a : q.answers)
                seen.last() += QString(a == q.defaultAnswer ? " [%1]" : " %1").arg("SDC"[int(a)]);
        }
        QCOMPARE(seen, asked);
        QCOMPARE(editor.endRequests, int(ends));
        QCOMPARE(editor.errors.size(), int(script.contains(u'p') || script.contains(u'f')));
        // Unsaved edits are never written, saved ones always are; a pipe is never read.
        QCOMPARE(QFileInfo(path).isFile() && readFile(path) == fileBytes(editor.state().palette),
                 !QString("*#").contains(shown.back()));
    }
};

QTEST_MAIN(TestSignals)
#include "tst_signals.moc"
