#include "PaletteExchange.h"

#include <QMenu>

PaletteExchange::PaletteExchange(const EditorState &state, ColourEditing &editing, QWidget &window)
    : m_state(state), m_editing(editing), m_window(window) {}

void PaletteExchange::addItems(QMenu &menu) {
    menu.addAction(QStringLiteral("Copy &whole palette"));
    menu.addAction(QStringLiteral("&Import palette\u2026"));
    menu.addAction(QStringLiteral("E&xport palette\u2026"));
}

void PaletteExchange::prepare(int entry) { m_menuEntry = entry; }
