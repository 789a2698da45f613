#pragma once

#include <QAccessibleWidget>

class ChannelBar;

// What assistive technology hears from a channel bar: the channel's value, 0 to 255, not the
// scroll position that counts from the top.
class ChannelBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ChannelBarAccessible(ChannelBar *bar);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // For QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

private:
    ChannelBar *bar() const;
};
