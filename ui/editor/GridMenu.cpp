#include "GridMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

GridMenu::GridMenu(const EditorState &state, PaletteGrid &pic, QWidget &window,
                   QList<GridMenuPart *> parts)
    : m_state(state), m_pic(pic), m_window(window), m_parts(std::move(parts)) {
    pic.installEventFilter(this);
}

bool GridMenu::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ContextMenu) {
        const auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() != QContextMenuEvent::Mouse)
            openKeyboardMenu();
        else if (isInsideGrid(request->pos().x(), request->pos().y()))
            openMenu(cellOfPoint(request->pos().x(), request->pos().y()), request->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Some window systems turn the Menu key into a context menu request of their own; then
        // the open menu takes the key and it never arrives here.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination combination = key->keyCombination();
        if (combination == QKeyCombination(Qt::Key_Menu) ||
            combination == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
            openKeyboardMenu();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void GridMenu::openMenu(Cell cell, QPoint globalPosition) {
    if (!m_menu) {
        m_menu = new QMenu(&m_window);
        m_title = m_menu->addAction(QString());
        m_title->setEnabled(false);
        for (GridMenuPart *part : m_parts) {
            m_menu->addSeparator();
            part->addItems(*m_menu);
        }
    }
    const int entry = entryOfCell(cell);
    const auto &row = m_state.palette[entry];
    m_title->setText(
        QStringLiteral("Entry %1 \u00b7 %2 \u00b7 %3")
            .arg(entry)
            .arg(m_state.terrainNames[entry], colourOfPacked(row[packedChannel]).name()));
    for (GridMenuPart *part : m_parts)
        part->prepare(entry);
    m_menu->popup(globalPosition);
}

void GridMenu::openKeyboardMenu() {
    // Just below the cell, which stays in sight.
    const Cell cell = m_pic.keyboardCell();
    openMenu(cell, m_pic.mapToGlobal(cellRect(cell).bottomLeft() + QPoint(0, 1)));
}
