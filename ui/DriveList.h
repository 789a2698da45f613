#pragma once

#include <QComboBox>

// The drives to browse: drive roots on Windows, mounted file systems elsewhere.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // Root of the drive shown.
    QString drive() const;

signals:
    void driveChanged(const QString &root);
};
