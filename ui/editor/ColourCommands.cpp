#include "ColourCommands.h"

#include "ColourClipboard.h"
#include "PackedColour.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

ColourCommands::ColourCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                               QWidget &window)
    : m_state(state), m_pic(pic), m_editing(editing), m_window(window),
      m_dialog(state, pic, editing, window) {
    // Window-wide, as undo is, so the keys work whichever control has the focus.
    connect(new QShortcut(QKeySequence::Copy, &window), &QShortcut::activated, this,
            [this] { copyKey(); });
    connect(new QShortcut(QKeySequence::Paste, &window), &QShortcut::activated, this,
            [this] { pasteKey(); });
    pic.installEventFilter(this);
}

void ColourCommands::copyKey() {
    copyColour(colourOf(m_state.anchorSet
                            ? m_state.anchorIndex
                            : entryOfCell(cellOfPoint(m_state.pointerX, m_state.pointerY))));
}

void ColourCommands::pasteKey() {
    if (m_state.anchorSet)
        paste(m_state.anchorIndex);
}

void ColourCommands::paste(int entry) {
    if (const std::optional<QColor> colour = clipboardColour())
        m_editing.setColour(entry, *colour);
}

QColor ColourCommands::colourOf(int entry) const {
    return colourOfPacked(m_state.palette[entry][packedChannel]);
}

bool ColourCommands::eventFilter(QObject *watched, QEvent *event) {
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

void ColourCommands::openMenu(Cell cell, QPoint globalPosition) {
    if (!m_menu) {
        m_menu = new QMenu(&m_window);
        m_title = m_menu->addAction(QString());
        m_title->setEnabled(false);
        m_menu->addSeparator();
        // The keys are shown here and bound window-wide; in the menu they act on its entry.
        QAction *copy = m_menu->addAction(QStringLiteral("&Copy colour"), m_menu,
                                          [this] { copyColour(colourOf(m_menuEntry)); });
        copy->setShortcut(QKeySequence::Copy);
        m_paste = m_menu->addAction(QStringLiteral("&Paste colour"), m_menu,
                                    [this] { paste(m_menuEntry); });
        m_paste->setShortcut(QKeySequence::Paste);
        for (QAction *action : {copy, m_paste})
            action->setShortcutContext(Qt::WidgetShortcut);
        m_menu->addAction(QStringLiteral("&Edit colour\u2026"), m_menu,
                          [this] { m_dialog.edit(m_menuEntry); });
    }
    m_menuEntry = entryOfCell(cell);
    m_title->setText(QStringLiteral("Entry %1 \u00b7 %2 \u00b7 %3")
                         .arg(m_menuEntry)
                         .arg(m_state.terrainNames[m_menuEntry], colourOf(m_menuEntry).name()));
    m_paste->setEnabled(clipboardColour().has_value());
    m_menu->popup(globalPosition);
}

void ColourCommands::openKeyboardMenu() {
    // Just below the cell, which stays in sight.
    const Cell cell = m_pic.keyboardCell();
    openMenu(cell, m_pic.mapToGlobal(cellRect(cell).bottomLeft() + QPoint(0, 1)));
}
