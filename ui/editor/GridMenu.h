#pragma once

#include "EditorState.h"
#include "GridMenuPart.h"
#include "PaletteGrid.h"

#include <QList>
#include <QObject>
#include <QPoint>

class QAction;
class QMenu;

// The grid's context menu, opened by the right button on a cell or by the Menu key or Shift+F10
// on the keyboard cell: a line naming the entry, then each part's items, a separator between
// parts. Opening it changes nothing of what is selected.
class GridMenu : public QObject {
    Q_OBJECT

public:
    GridMenu(const EditorState &state, PaletteGrid &pic, QWidget &window,
             QList<GridMenuPart *> parts);

    // Made on first use, null before.
    QMenu *menu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openMenu(Cell cell, QPoint globalPosition);
    void openKeyboardMenu();

    const EditorState &m_state;
    PaletteGrid &m_pic;
    QWidget &m_window;
    QList<GridMenuPart *> m_parts;
    // Made on first use: nothing of it costs start-up time.
    QMenu *m_menu = nullptr;
    QAction *m_title = nullptr;
};
