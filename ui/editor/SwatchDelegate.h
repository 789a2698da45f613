#pragma once

#include <QStyledItemDelegate>

// Draws a colour given as an item's decoration as a swatch in exactly that colour, framed,
// whether or not the row is selected.
class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
