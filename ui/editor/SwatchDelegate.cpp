#include "SwatchDelegate.h"

#include <QApplication>
#include <QPainter>

void SwatchDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(Qt::DecorationRole).typeId() != QMetaType::QColor)
        return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *widget = item.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect swatch = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    painter->save();
    painter->setPen(item.palette.color(QPalette::Text));
    painter->setBrush(Qt::NoBrush);
    // A one-pixel pen covers one pixel more than the rectangle says, to the right and below.
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->restore();
}
