#include "FocusFrame.h"

#include "FrameDrawing.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {
constexpr int margin = FocusFrame::gap + FocusFrame::width;
}

FocusFrame::FocusFrame(QWidget *target)
    : QObject(target), m_target(target),
      m_outer(target->geometry().adjusted(-margin, -margin, margin, margin)) {
    target->installEventFilter(this);
    target->parentWidget()->installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_target) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_target->parentWidget()->update(m_outer);
    } else if (event->type() == QEvent::Paint && m_target->hasFocus()) {
        // The parent paints nothing of its own over its background, so the frame may go first.
        paint();
    }
    return QObject::eventFilter(watched, event);
}

void FocusFrame::paint() {
    QPainter painter(m_target->parentWidget());
    fillFrame(painter, m_outer, width, m_target->palette().color(QPalette::Highlight));
}
