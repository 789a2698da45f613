#include "ChannelBar.h"

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
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit changed(maximum() - value); });
    connect(this, &QScrollBar::sliderMoved, this,
            [this](int position) { emit scrolled(maximum() - position); });
}
