#include "ColourCommands.h"

#include "ColourClipboard.h"
#include "ColourList.h"
#include "ColourPlacement.h"
#include "PackedColour.h"
#include "UserMessages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>

ColourCommands::ColourCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                               QWidget &window)
    : m_state(state), m_editing(editing), m_window(window), m_dialog(state, pic, editing, window) {
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
    // Several colours go into consecutive entries from here, as an import does; one is a single
    // paste.
    if (const ColourList list = clipboardList(); !list.error.isEmpty()) {
        showError(&m_window, list.error);
        return;
    } else if (!list.colours.isEmpty()) {
        placeColours(m_editing, &m_window, entry, list.colours, QStringLiteral("pasted"));
        return;
    }
    if (const std::optional<QColor> colour = clipboardColour())
        m_editing.setColour(entry, *colour);
}

ColourList ColourCommands::clipboardList() const {
    // A colour offered as such is one colour, whatever text comes with it.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || (data->hasColor() && qvariant_cast<QColor>(data->colorData()).isValid()))
        return {};
    return colourListOfText(data->text());
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
    const ColourList list = clipboardList();
    m_paste->setEnabled(clipboardColour().has_value() ||
                        (list.error.isEmpty() && !list.colours.isEmpty()));
}
