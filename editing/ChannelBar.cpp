#include "ChannelBar.h"

#include "ChannelBarAccessible.h"
#include "FrameDrawing.h"

#include <QAccessible>
#include <QPainter>

ChannelBar::ChannelBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent) {
    // A plain vertical bar has its minimum at the top, and inverting only its appearance would
    // leave the arrows and keys reversed: so the bar keeps its natural orientation and the
    // channel is counted from the bottom.
    setRange(0, 255);
    setValue(maximum());
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessibleInstalled =
        (QAccessible::installFactory(&ChannelBarAccessible::create), true);
    Q_UNUSED(accessibleInstalled);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit changed(maximum() - value); });
    connect(this, &QScrollBar::sliderMoved, this,
            [this](int position) { emit scrolled(maximum() - position); });
}

void ChannelBar::paintEvent(QPaintEvent *event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    // The style draws no focus on a scroll bar: a frame in the highlight colour, inside the
    // bar's own width, shows where the keys go.
    QPainter painter(this);
    fillFrame(painter, rect(), 1, palette().color(QPalette::Highlight));
}
