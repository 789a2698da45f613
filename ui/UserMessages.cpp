#include "UserMessages.h"

#include <QMessageBox>

namespace {

void messageBox(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Terrain Palette Editor"), text);
}

ErrorReporter &currentReporter() {
    static ErrorReporter reporter = messageBox;
    return reporter;
}

} // namespace

void showError(QWidget *parent, const QString &text) { currentReporter()(parent, text); }

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    ErrorReporter previous = currentReporter();
    currentReporter() = reporter ? std::move(reporter) : ErrorReporter(messageBox);
    return previous;
}
