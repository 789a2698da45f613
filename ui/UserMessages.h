#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can answer them without
// blocking.
using ErrorReporter = std::function<void(QWidget *parent, const QString &text)>;

void showError(QWidget *parent, const QString &text);

// Replaces how errors are shown; returns the previous reporter. An empty one restores the
// message box.
ErrorReporter setErrorReporter(ErrorReporter reporter);

// A note on something that worked, though not wholly as asked (colours left out of an import).
void showInformation(QWidget *parent, const QString &text);

// Replaces how notes are shown, as setErrorReporter does for errors.
ErrorReporter setInformationReporter(ErrorReporter reporter);

// The buttons a question may offer, in the order they stand in the box: "&Save", "&Discard",
// "Cancel", "&Scale", "&Keep as they are", "&Replace".
enum class Answer { save, discard, cancel, scale, keep, replace };

struct Question {
    QString text;
    QList<Answer> answers;
    // What Enter answers; Escape always answers cancel.
    Answer defaultAnswer = Answer::cancel;
};

using Asker = std::function<Answer(QWidget *parent, const Question &question)>;

// Asks the user and returns the answer; closing the box without one answers cancel.
Answer askQuestion(QWidget *parent, const Question &question);

// Replaces how questions are asked; returns the previous asker. An empty one restores the
// message box.
Asker setAsker(Asker asker);
