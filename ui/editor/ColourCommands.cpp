#include "ColourCommands.h"

#include "ColourClipboard.h"
#include "PackedColour.h"

#include <QMenu>
#include <QShortcut>

ColourCommands::ColourCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                               QWidget &window)
    : m_state(state), m_editing(editing), m_dialog(state, pic, editing, window) {
    // Window-wide, as undo is, so the keys work whichever control has the focus.
    connect(new QShortcut(QKeySequence::Copy, &window), &QShortcut::activated, this,
            [this] { copyKey(); });
    connect(new QShortcut(QKeySequence::Paste, &window), &QShortcut::activated, this,
            [this] { pasteKey(); });
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

void ColourCommands::addItems(QMenu &menu) {
    // The keys are shown here and bound window-wide; in the menu they act on its entry.
    QAction *copy = menu.addAction(QStringLiteral("&Copy colour"), &menu,
                                   [this] { copyColour(colourOf(m_menuEntry)); });
    copy->setShortcut(QKeySequence::Copy);
    m_paste =
        menu.addAction(QStringLiteral("&Paste colour"), &menu, [this] { paste(m_menuEntry); });
    m_paste->setShortcut(QKeySequence::Paste);
    for (QAction *action : {copy, m_paste})
        action->setShortcutContext(Qt::WidgetShortcut);
    menu.addAction(QStringLiteral("&Edit colour\u2026"), &menu,
                   [this] { m_dialog.edit(m_menuEntry); });
}

void ColourCommands::prepare(int entry) {
    m_menuEntry = entry;
    m_paste->setEnabled(clipboardColour().has_value());
}
