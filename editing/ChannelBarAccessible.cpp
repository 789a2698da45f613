#include "ChannelBarAccessible.h"

#include "ChannelBar.h"

#include <algorithm>

ChannelBarAccessible::ChannelBarAccessible(ChannelBar *bar)
    : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

ChannelBar *ChannelBarAccessible::bar() const { return static_cast<ChannelBar *>(widget()); }

void *ChannelBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ChannelBarAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return QString::number(bar()->channelValue());
    return QAccessibleWidget::text(type);
}

QVariant ChannelBarAccessible::currentValue() const { return bar()->channelValue(); }

void ChannelBarAccessible::setCurrentValue(const QVariant &value) {
    bar()->setChannelValue(std::clamp(value.toInt(), 0, bar()->maximum()));
}

QVariant ChannelBarAccessible::maximumValue() const { return bar()->maximum(); }

QVariant ChannelBarAccessible::minimumValue() const { return 0; }

QVariant ChannelBarAccessible::minimumStepSize() const { return bar()->singleStep(); }

QAccessibleInterface *ChannelBarAccessible::create(const QString &className, QObject *object) {
    if (className == QLatin1String(ChannelBar::staticMetaObject.className()))
        return new ChannelBarAccessible(static_cast<ChannelBar *>(object));
    return nullptr;
}
