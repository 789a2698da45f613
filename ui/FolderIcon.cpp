#include "FolderIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QIcon folderIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(150, 110, 20));

    QPainterPath tab;
    tab.addRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
    painter.setBrush(QColor(220, 170, 50));
    painter.drawPath(tab);

    painter.setBrush(QColor(245, 200, 80));
    painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1, 1);
    return QIcon(pixmap);
}
