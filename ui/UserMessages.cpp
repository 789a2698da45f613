#include "UserMessages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

const QString title = QStringLiteral("Terrain Palette Editor");

void messageBox(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, title, text);
}

ErrorReporter &currentReporter() {
    static ErrorReporter reporter = messageBox;
    return reporter;
}

Answer questionBox(QWidget *parent, const Question &question) {
    QMessageBox box(QMessageBox::Warning, title, question.text, QMessageBox::NoButton, parent);
    // The standard buttons bring their roles (Escape answers Cancel) but no access keys.
    QList<QAbstractButton *> buttons;
    for (const Answer answer : question.answers) {
        QPushButton *added = box.addButton(answer == Answer::save      ? QMessageBox::Save
                                           : answer == Answer::discard ? QMessageBox::Discard
                                                                       : QMessageBox::Cancel);
        if (answer != Answer::cancel)
            added->setText(answer == Answer::save ? QStringLiteral("&Save")
                                                  : QStringLiteral("&Discard"));
        if (answer == question.defaultAnswer)
            box.setDefaultButton(added);
        buttons << added;
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? Answer::cancel : question.answers[chosen];
}

Asker &currentAsker() {
    static Asker asker = questionBox;
    return asker;
}

} // namespace

void showError(QWidget *parent, const QString &text) { currentReporter()(parent, text); }

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    ErrorReporter previous = currentReporter();
    currentReporter() = reporter ? std::move(reporter) : ErrorReporter(messageBox);
    return previous;
}

Answer askQuestion(QWidget *parent, const Question &question) {
    return currentAsker()(parent, question);
}

Asker setAsker(Asker asker) {
    Asker previous = currentAsker();
    currentAsker() = asker ? std::move(asker) : Asker(questionBox);
    return previous;
}
