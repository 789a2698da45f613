#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs `act` on the next modal window of type T once it is up; the code that opens it blocks in
// its own event loop until it is answered.
template <typename T> void whenModal(std::function<void(T *)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget()))
            act(window);
        else if (triesLeft > 0)
            whenModal<T>(act, triesLeft - 1);
    });
}

// Answers the next file dialog as a user would: the filter chosen (none: as offered), the name
// typed into its name field and Enter pressed; an empty name presses Escape.
inline void answerFileDialog(const QString &name, const QString &filter = {}) {
    whenModal<QFileDialog>([name, filter](QFileDialog *dialog) {
        if (!filter.isEmpty())
            dialog->selectNameFilter(filter);
        auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (name.isEmpty() || !field) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        field->setFocus();
        field->setText(name);
        QTest::keyClick(field, Qt::Key_Return);
    });
}
