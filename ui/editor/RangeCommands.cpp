#include "RangeCommands.h"

#include <QMenu>

RangeCommands::RangeCommands(EditorState &state, PaletteGrid &pic, ColourEditing &editing,
                             QWidget &window)
    : m_state(state), m_pic(pic), m_editing(editing), m_window(window) {}

void RangeCommands::addItems(QMenu &menu) {
    menu.addAction(QString())->setEnabled(false);
    menu.addAction(QStringLiteral("&Adjust colours\u2026"));
    menu.addAction(QStringLiteral("Ramp in OK&Lab"));
    menu.addAction(QStringLiteral("Re&verse order"));
}

void RangeCommands::prepare(int) {}
