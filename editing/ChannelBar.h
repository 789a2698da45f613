#pragma once

#include <QScrollBar>

// A vertical bar for one colour channel, 255 at the top and 0 at the bottom. The top arrow
// and the Up key raise the value, as users expect.
//
// changed() fires when the value changes: at once for an arrow, a trough click, a key or a
// value set from code, and once at the end of a thumb drag. scrolled() fires at every step
// while the thumb is dragged.
class ChannelBar : public QScrollBar {
    Q_OBJECT

public:
    explicit ChannelBar(QWidget *parent = nullptr);

    int channelValue() const { return maximum() - value(); }
    void setChannelValue(int channelValue) { setValue(maximum() - channelValue); }

signals:
    void changed(int channelValue);
    void scrolled(int channelValue);

protected:
    void paintEvent(QPaintEvent *event) override;
};
