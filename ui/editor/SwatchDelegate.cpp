#include "SwatchDelegate.h"

#include <QApplication>
#include <QPainter>

void SwatchDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QVariant decoration = index.data(Qt::DecorationRole);
    const bool swatch = decoration.typeId() == QMetaType::QColor;
    // Drawn as an icon, the colour of a selected row would come out tinted with the selection's.
    // Without the icon the style still keeps the swatch's room.
    if (swatch)
        item.icon = QIcon();
    const QWidget *widget = item.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (!swatch)
        return;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    painter->save();
    painter->fillRect(area, decoration.value<QColor>());
    // A thin frame in the text colour shows the extent of a colour close to the background.
    painter->setPen(item.palette.color(QPalette::Text));
    painter->setBrush(Qt::NoBrush);
    // A one-pixel pen covers one pixel more than the rectangle says, to the right and below.
    painter->drawRect(area.adjusted(0, 0, -1, -1));
    painter->restore();
}
