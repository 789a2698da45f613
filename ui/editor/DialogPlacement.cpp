#include "DialogPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

void placeBesideWindow(QWidget &dialog, const QWidget &window) {
    const QRect screen = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    const QSize size = dialog.sizeHint();
    dialog.move(
        std::max(screen.left(), std::min(frame.right() + 1, screen.right() + 1 - size.width())),
        std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - size.height())));
}
