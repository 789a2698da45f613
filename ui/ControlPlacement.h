#pragma once

#include <QPushButton>
#include <QRect>
#include <QString>

// Both windows place their controls at fixed pixel positions, by name, without layouts.
template <typename Control> Control *place(Control *control, const char *name, QRect geometry) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// A command button that never answers Enter on the window's behalf.
inline QPushButton *commandButton(QWidget *parent, const char *name, const QString &caption,
                                  QRect geometry) {
    auto *button = place(new QPushButton(caption, parent), name, geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setAccessibleName(caption);
    return button;
}
