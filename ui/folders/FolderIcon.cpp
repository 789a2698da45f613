#include "FolderIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

// The picture is laid out on a 16 x 16 grid and scaled to the rectangle it is painted in; the
// painter's own scale carries the screen's device pixel ratio. QIconEngine's own pixmap()
// paints a picture of the size asked for through paint().
class FolderIconEngine : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.5);
        painter->setPen(QColor(150, 110, 20));

        QPainterPath tab;
        tab.addRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
        painter->setBrush(QColor(220, 170, 50));
        painter->drawPath(tab);

        painter->setBrush(QColor(245, 200, 80));
        painter->drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1, 1);
        painter->restore();
    }

    QIconEngine *clone() const override { return new FolderIconEngine; }
};

} // namespace

QIcon folderIcon() { return QIcon(new FolderIconEngine); }
