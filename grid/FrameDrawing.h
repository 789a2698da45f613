#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

// A frame of the given width just inside rect, as four fills: exact at any device pixel ratio,
// where a pen-drawn outline would be smoothed or shifted by half a pixel.
inline void fillFrame(QPainter &painter, const QRect &rect, int width, const QColor &colour) {
    painter.fillRect(rect.left(), rect.top(), rect.width(), width, colour);
    painter.fillRect(rect.left(), rect.bottom() - width + 1, rect.width(), width, colour);
    painter.fillRect(rect.left(), rect.top() + width, width, rect.height() - 2 * width, colour);
    painter.fillRect(rect.right() - width + 1, rect.top() + width, width, rect.height() - 2 * width,
                     colour);
}
