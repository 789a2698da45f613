#pragma once

#include <QStyledItemDelegate>

// Draws a colour given as an item's decoration as a swatch with a thin frame in the text colour,
// so that a colour close to the list's background still shows its extent.
class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
