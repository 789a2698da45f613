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

void informationBox(QWidget *parent, const QString &text) {
    QMessageBox::information(parent, title, text);
}

ErrorReporter &currentInformationReporter() {
    static ErrorReporter reporter = informationBox;
    return reporter;
}

// The standard buttons bring their roles (Escape answers Cancel) but no access keys; the others
// have none of their own.
QPushButton *addAnswer(QMessageBox &box, Answer answer) {
    switch (answer) {
    case Answer::save:
    case Answer::discard: {
        QPushButton *button =
            box.addButton(answer == Answer::save ? QMessageBox::Save : QMessageBox::Discard);
        button->setText(answer == Answer::save ? QStringLiteral("&Save")
                                               : QStringLiteral("&Discard"));
        return button;
    }
    case Answer::cancel:
        return box.addButton(QMessageBox::Cancel);
    case Answer::scale:
        return box.addButton(QStringLiteral("&Scale"), QMessageBox::AcceptRole);
    case Answer::keep:
        return box.addButton(QStringLiteral("&Keep as they are"), QMessageBox::AcceptRole);
    case Answer::replace:
        return box.addButton(QStringLiteral("&Replace"), QMessageBox::AcceptRole);
    }
    return nullptr;
}

Answer questionBox(QWidget *parent, const Question &question) {
    QMessageBox box(QMessageBox::Warning, title, question.text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (const Answer answer : question.answers) {
        QPushButton *added = addAnswer(box, answer);
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

void showInformation(QWidget *parent, const QString &text) {
    currentInformationReporter()(parent, text);
}

ErrorReporter setInformationReporter(ErrorReporter reporter) {
    ErrorReporter previous = currentInformationReporter();
    currentInformationReporter() = reporter ? std::move(reporter) : ErrorReporter(informationBox);
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
