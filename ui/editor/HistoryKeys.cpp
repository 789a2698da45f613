#include "HistoryKeys.h"

#include <QShortcut>
#include <QWidget>

void bindHistoryKeys(QWidget &window, HistoryHandlers &keys) {
    auto *undo = new QShortcut(&window);
    undo->setKeys(QKeySequence::Undo);
    QObject::connect(undo, &QShortcut::activated, undo, [&keys] { keys.undoKey(); });
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y); !redoKeys.contains(ctrlY))
        redoKeys.append(ctrlY);
    auto *redo = new QShortcut(&window);
    redo->setKeys(redoKeys);
    QObject::connect(redo, &QShortcut::activated, redo, [&keys] { keys.redoKey(); });
}
