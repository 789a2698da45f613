#pragma once

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
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

// Qt's own file dialogs would write their settings under XDG_CONFIG_HOME if the editor let them:
// a test points it at an empty folder of its own and checks at the end that nothing came in.
class DialogConfigFolder {
public:
    bool use() const {
        return m_folder.isValid() && qputenv("XDG_CONFIG_HOME", m_folder.path().toUtf8());
    }
    QStringList written() const {
        return QDir(m_folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

private:
    QTemporaryDir m_folder;
};
