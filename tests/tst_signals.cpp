#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

#include <sys/stat.h>
#include <utime.h>

// What the editor shows of unsaved edits and an armed Spread, and what it asks before edits or
// another program's change to the file are lost.
class TestSignals : public QObject {
    Q_OBJECT

private slots:
    void shownAfterEachStep_data();
    void shownAfterEachStep();
    void saveAsksAfterAnotherProgramsChange_data();
    void saveAsksAfterAnotherProgramsChange();
    void closeBoxAsksBeforeLosingEdits_data();
    void closeBoxAsksBeforeLosingEdits();

private:
    // A digit moves onto entry 40 + digit, "c" clicks the grid there, "r"/"R" the red bar's
    // top/bottom arrow, "s" Spread, "_" Space on Spread, "S" Save, "u" Ctrl+Z, "y" Ctrl+Y. Another
    // program "w" rewrites the file, "l" makes it longer, "t" touches it, "x" removes it, "p" puts
    // a named pipe in its place. A leading "L" loads a file longer than a palette.
    void run(const QString &script);
    void step(QChar step);
    QByteArray contents() const;

    std::unique_ptr<LoadedEditor> m_editor;
    QPoint m_at;
};

void TestSignals::run(const QString &script) {
    m_editor.reset(); // before the next one takes over the seams
    m_editor = std::make_unique<LoadedEditor>();
    QVERIFY(m_editor->load(fileBytes(distinctPalette()) + (script.startsWith(u'L') ? "L" : "")));
    for (const QChar c : script.mid(script.startsWith(u'L')))
        step(c);
}

void TestSignals::step(QChar step) {
    Terrain &t = m_editor->terrain();
    QFile file(m_editor->path());
    if (step.isDigit())
        sendMove(t.pic, m_at = centreOfEntry(40 + step.digitValue()));
    else if (step == u'c')
        QTest::mouseClick(t.pic, Qt::LeftButton, {}, m_at);
    else if (step.toLower() == u'r')
        QTest::mouseClick(
            t.v1, Qt::LeftButton, {},
            barPart(t.v1, step == u'r' ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine)
                .center());
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
        QCOMPARE(utime(QFile::encodeName(file.fileName()).constData(), nullptr), 0);
    else if (step == u'x' || step == u'p')
        QVERIFY(file.remove() && (step == u'x' || mkfifo(qPrintable(file.fileName()), 0600) == 0));
}

QByteArray TestSignals::contents() const {
    // Opening a named pipe would wait for a writer.
    QFile file(m_editor->path());
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)";
}

void TestSignals::shownAfterEachStep_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("unsaved"); // after each step: "*" the caption's marker shows
    QTest::addColumn<QString>("armed");   // and "^" Spread shows pressed
    QTest::newRow("edit, undo, redo, save, undo") << "1cruySuy"
                                                  << "..*.*.*."
                                                  << "........";
    QTest::newRow("a run back to where it began") << "1crrRR"
                                                  << "..***."
                                                  << "......";
    QTest::newRow("arm, again, Space, fill, undo") << "1css_9cu"
                                                   << "......*."
                                                   << "..^^^^..";
    QTest::newRow("deselected while armed") << "1csc2c9c"
                                            << ".......*"
                                            << "..^^^^^.";
    QTest::newRow("undo and redo while armed") << "1crsuy"
                                               << "..**.*"
                                               << "...^^^";
}

void TestSignals::shownAfterEachStep() {
    QFETCH(QString, script);
    QFETCH(QString, unsaved);
    QFETCH(QString, armed);
    run(QString());
    QVERIFY(QTest::qWaitForWindowActive(&m_editor->terrain()));
    QPushButton *spr = m_editor->terrain().spr;
    const QFont font = spr->font();
    QMap<bool, QImage> looks;
    for (qsizetype i = 0; i < script.size(); ++i) {
        step(script[i]);
        // What the window system is given to show, with the marker put in or left out.
        QCOMPARE(m_editor->terrain().windowHandle()->title(),
                 QStringLiteral("europe.act%1 \u2014 Terrain Palette Editor")
                     .arg(unsaved[i] == u'*' ? "*" : ""));
        QCOMPARE(spr->isChecked(), armed[i] == u'^');
        QCOMPARE(m_editor->state().isSpreadArmed(), armed[i] == u'^');
        if (spr->isEnabled() && !spr->hasFocus())
            looks.insert(spr->isChecked(), spr->grab().toImage());
    }
    // Pressed looks pressed, in the same font and place.
    QVERIFY(looks.size() < 2 || looks[true] != looks[false]);
    QCOMPARE(spr->font(), font);
    QCOMPARE(spr->geometry(), QRect(272, 240, 49, 25));
}

void TestSignals::saveAsksAfterAnotherProgramsChange_data() {
    QTest::addColumn<QString>("script"); // an edit, then what happens to the file before Save
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("asked"); // what the question says happened, or nothing asked
    QTest::addColumn<bool>("saved");
    QTest::newRow("rewritten, Save") << "1crw" << Answer::save << "changed" << true;
    QTest::newRow("rewritten, Cancel") << "1crw" << Answer::cancel << "changed" << false;
    QTest::newRow("same start, longer") << "1crl" << Answer::cancel << "changed" << false;
    QTest::newRow("removed, Save") << "1crx" << Answer::save << "removed" << true;
    QTest::newRow("removed, Cancel") << "1crx" << Answer::cancel << "removed" << false;
    QTest::newRow("only touched") << "1crt" << Answer::cancel << "" << true;
    QTest::newRow("loaded longer, untouched") << "L1cr" << Answer::cancel << "" << true;
    QTest::newRow("saved, then changed") << "1crSrw" << Answer::cancel << "changed" << false;
    QTest::newRow("saved, then edited") << "1crSr" << Answer::cancel << "" << true;
}

void TestSignals::saveAsksAfterAnotherProgramsChange() {
    QFETCH(QString, script);
    QFETCH(Answer, answer);
    QFETCH(QString, asked);
    QFETCH(bool, saved);
    run(script);
    const QByteArray before = contents();
    const Palette edited = m_editor->state().palette;
    m_editor->answers = {answer};
    step(u'S');
    QCOMPARE(m_editor->questions.size(), asked.isEmpty() ? 0 : 1);
    for (const Question &question : m_editor->questions) {
        QVERIFY2(question.text.contains(m_editor->path() + " was " + asked + " by another program"),
                 qPrintable(question.text));
        QCOMPARE(question.answers, QList<Answer>({Answer::save, Answer::cancel}));
        QCOMPARE(question.defaultAnswer, Answer::cancel);
    }
    QCOMPARE(contents(), saved ? fileBytes(edited) : before);
    QCOMPARE(firstPaletteDifference(m_editor->state().palette, edited), QString());
    QCOMPARE(m_editor->terrain().isWindowModified(), !saved);
}

void TestSignals::closeBoxAsksBeforeLosingEdits_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("saved");
    const QList<Answer> save{Answer::save};
    QTest::newRow("nothing unsaved") << "1c" << QList<Answer>() << true << false;
    QTest::newRow("edit undone") << "1cru" << QList<Answer>() << true << false;
    QTest::newRow("Save") << "1cr" << save << true << true;
    QTest::newRow("Discard") << "1cr" << QList{Answer::discard} << true << false;
    QTest::newRow("Cancel") << "1cr" << QList{Answer::cancel} << false << false;
    QTest::newRow("Save fails") << "1crp" << save << false << false;
    QTest::newRow("Save, Cancel at the change") << "1crw" << save << false << false;
}

void TestSignals::closeBoxAsksBeforeLosingEdits() {
    QFETCH(QString, script);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, ends);
    QFETCH(bool, saved);
    run(script);
    LoadedEditor &editor = *m_editor;
    const QByteArray before = contents();
    const auto shown = [&] {
        const EditorState &s = editor.state();
        return std::tuple(editor.pic()->image(), fileBytes(s.palette), s.anchorIndex,
                          editor.terrain().history().stack().index(), editor.terrain().t1->text());
    };
    const auto kept = shown();
    editor.answers = answers;
    editor.terrain().windowHandle()->close();

    // Asked first whenever something would be lost, naming the file.
    QCOMPARE(editor.questions.size(), answers.size() + script.endsWith(u'w'));
    if (!answers.isEmpty()) {
        QVERIFY(editor.questions[0].text.contains(editor.path() + " has changes that are not"));
        QCOMPARE(editor.questions[0].answers,
                 QList<Answer>({Answer::save, Answer::discard, Answer::cancel}));
        QCOMPARE(editor.questions[0].defaultAnswer, Answer::save);
    }
    QCOMPARE(editor.endRequests, int(ends));
    QCOMPARE(contents(), saved ? std::get<1>(kept) : before);
    QCOMPARE(editor.errors.size(), int(script.endsWith(u'p')));
    // A window kept open has every edit, the selection and the history as they were.
    QVERIFY(ends || (editor.terrain().isVisible() && shown() == kept));
}

QTEST_MAIN(TestSignals)
#include "tst_signals.moc"
