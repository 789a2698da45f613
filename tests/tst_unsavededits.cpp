#include "LoadedEditor.h"
#include "PaletteExpectations.h"

#include <QTest>

#include <utime.h>

namespace {

// A digit moves onto entry 40 + digit, "c" clicks the grid there, "r"/"R" the red bar's top/bottom
// arrow, "s" Spread, "S" Save, "u" Ctrl+Z, "y" Ctrl+Y; "w" rewrites the file behind the editor's
// back, "l" makes it longer, "t" only touches it, "x" removes it, "d" puts a folder in its place.
void run(LoadedEditor &editor, QChar step) {
    Terrain &t = editor.terrain();
    static QPoint at;
    QFile file(editor.path());
    if (step.isDigit())
        sendMove(t.pic, at = centreOfEntry(40 + step.digitValue()));
    else if (step == u'c')
        QTest::mouseClick(t.pic, Qt::LeftButton, {}, at);
    else if (step == u'r' || step == u'R')
        QTest::mouseClick(
            t.v1, Qt::LeftButton, {},
            barPart(t.v1, step == u'r' ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine)
                .center());
    else if (step == u's' || step == u'S')
        QTest::mouseClick(step == u's' ? t.spr : t.sav, Qt::LeftButton);
    else if (step == u'u' || step == u'y')
        QTest::keyClick(&t, step == u'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    else if (step == u'w')
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(768, 'w')) == 768);
    else if (step == u'l')
        QVERIFY(file.open(QIODevice::Append) && file.write("more") == 4);
    else if (step == u't')
        QCOMPARE(utime(QFile::encodeName(editor.path()).constData(), nullptr), 0);
    else if (step == u'x' || step == u'd')
        QVERIFY(file.remove() && (step == u'x' || QDir().mkdir(editor.path())));
    else
        QFAIL("unknown step");
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class TestUnsavedEdits : public QObject {
    Q_OBJECT

private slots:
    void captionMarksUnsavedEdits_data();
    void captionMarksUnsavedEdits();
    void saveAsksAfterAnotherProgramsChange_data();
    void saveAsksAfterAnotherProgramsChange();
    void closeBoxAsksBeforeLosingEdits_data();
    void closeBoxAsksBeforeLosingEdits();
};

void TestUnsavedEdits::captionMarksUnsavedEdits_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("marked"); // after each step: "*" marked unsaved, "." not
    QTest::newRow("edit, undo, redo, save, undo") << "1cruySuy"
                                                  << "..*.*.*.";
    QTest::newRow("a run back to where it began") << "1crrRR"
                                                  << "..***.";
    QTest::newRow("fill and undo it") << "1cs9cu"
                                      << "....*.";
}

void TestUnsavedEdits::captionMarksUnsavedEdits() {
    QFETCH(QString, script);
    QFETCH(QString, marked);
    LoadedEditor editor;
    QVERIFY(editor.load(fileBytes(distinctPalette())));
    QVERIFY(QTest::qWaitForWindowActive(&editor.terrain()));
    for (qsizetype i = 0; i < script.size(); ++i) {
        run(editor, script[i]);
        // What the window system is given to show, marker put in or left out.
        QCOMPARE(editor.terrain().windowHandle()->title(),
                 QStringLiteral("europe.act%1 \u2014 Terrain Palette Editor")
                     .arg(marked[i] == u'*' ? "*" : ""));
    }
}

void TestUnsavedEdits::saveAsksAfterAnotherProgramsChange_data() {
    QTest::addColumn<QString>("script"); // an edit and the changes before Save; "L": a longer file
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("asked"); // the word the question uses, or empty for no question
    QTest::addColumn<bool>("saved");
    const QList<Answer> save{Answer::save}, cancel{Answer::cancel};
    QTest::newRow("rewritten, Save") << "1crw" << save << "changed" << true;
    QTest::newRow("rewritten, Cancel") << "1crw" << cancel << "changed" << false;
    QTest::newRow("same start, longer") << "1crl" << cancel << "changed" << false;
    QTest::newRow("removed, Save") << "1crx" << save << "removed" << true;
    QTest::newRow("removed, Cancel") << "1crx" << cancel << "removed" << false;
    QTest::newRow("only touched") << "1crt" << cancel << "" << true;
    QTest::newRow("loaded longer, untouched") << "L1cr" << cancel << "" << true;
    QTest::newRow("saved before, then changed") << "1crSrw" << cancel << "changed" << false;
    QTest::newRow("saved before, then edited") << "1crSr" << cancel << "" << true;
}

void TestUnsavedEdits::saveAsksAfterAnotherProgramsChange() {
    QFETCH(QString, script);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, asked);
    QFETCH(bool, saved);
    LoadedEditor editor;
    const bool longer = script.startsWith(u'L');
    QVERIFY(editor.load(fileBytes(distinctPalette()) + (longer ? "tail" : "")));
    for (const QChar step : script.mid(longer))
        run(editor, step);
    const QByteArray before = contents(editor.path());
    const Palette edited = editor.state().palette;
    editor.answers = answers;
    run(editor, u'S');

    QCOMPARE(editor.questions.size(), asked.isEmpty() ? 0 : 1);
    if (!asked.isEmpty()) {
        const Question &question = editor.questions[0];
        QVERIFY2(question.text.contains(editor.path()) && question.text.contains(asked),
                 qPrintable(question.text));
        QCOMPARE(question.answers, QList<Answer>({Answer::save, Answer::cancel}));
        QCOMPARE(question.defaultAnswer, Answer::cancel);
    }
    QCOMPARE(contents(editor.path()), saved ? fileBytes(edited) : before);
    QCOMPARE(firstPaletteDifference(editor.state().palette, edited), QString());
    QCOMPARE(editor.terrain().isWindowModified(), !saved);
    QVERIFY(editor.errors.isEmpty());
}

void TestUnsavedEdits::closeBoxAsksBeforeLosingEdits_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("saved");
    const QList<Answer> save{Answer::save};
    QTest::newRow("nothing unsaved") << "1c" << save << false << true << false;
    QTest::newRow("edit undone") << "1cru" << save << false << true << false;
    QTest::newRow("Save") << "1cr" << save << true << true << true;
    QTest::newRow("Discard") << "1cr" << QList{Answer::discard} << true << true << false;
    QTest::newRow("Cancel") << "1cr" << QList{Answer::cancel} << true << false << false;
    QTest::newRow("Save fails") << "1crd" << save << true << false << false;
    QTest::newRow("Save, then Cancel at the change")
        << "1crw" << QList{Answer::save, Answer::cancel} << true << false << false;
}

void TestUnsavedEdits::closeBoxAsksBeforeLosingEdits() {
    QFETCH(QString, script);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, asked);
    QFETCH(bool, ends);
    QFETCH(bool, saved);
    LoadedEditor editor;
    const QByteArray original = fileBytes(distinctPalette());
    QVERIFY(editor.load(original));
    for (const QChar step : script)
        run(editor, step);
    const QByteArray before = contents(editor.path());
    const auto shown = [&] {
        const EditorState &s = editor.state();
        return std::tuple(editor.pic()->image(), fileBytes(s.palette), s.anchorSet, s.anchorIndex,
                          editor.terrain().history().stack().index(), editor.terrain().t1->text());
    };
    const auto kept = shown();
    editor.answers = answers;
    editor.terrain().windowHandle()->close();

    QCOMPARE(editor.questions.isEmpty(), !asked);
    if (asked) {
        QVERIFY2(editor.questions[0].text.contains(editor.path()),
                 qPrintable(editor.questions[0].text));
        QCOMPARE(editor.questions[0].answers,
                 QList<Answer>({Answer::save, Answer::discard, Answer::cancel}));
        QCOMPARE(editor.questions[0].defaultAnswer, Answer::save);
    }
    QCOMPARE(editor.endRequests, ends ? 1 : 0);
    QCOMPARE(contents(editor.path()), saved ? std::get<1>(kept) : before);
    // A window kept open has every edit, the selection and the history as they were.
    if (!ends) {
        QVERIFY(editor.terrain().isVisible());
        QVERIFY(shown() == kept);
    }
    QCOMPARE(editor.errors.size(), script.endsWith(u'd') ? 1 : 0);
}

QTEST_MAIN(TestUnsavedEdits)
#include "tst_unsavededits.moc"
