#pragma once

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
