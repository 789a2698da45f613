#include "DialogPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

void placeBesideWindow(QWidget &dialog, const QWidget &window) {
    const QRect screen = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    // Not yet shown, the dialog has no frame to measure: its frame is taken to be as wide as the
    // window's, from the same window manager.
    const QSize size = dialog.sizeHint() + frame.size() - window.size();
    int left = frame.right() + 1;
    // With no room to the right but room to the left, the left side keeps the window clear.
    if (left + size.width() > screen.right() + 1 && frame.left() - size.width() >= screen.left())
        left = frame.left() - size.width();
    dialog.move(std::max(screen.left(), std::min(left, screen.right() + 1 - size.width())),
                std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - size.height())));
}
