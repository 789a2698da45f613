#pragma once

#include <QComboBox>

// The drives to browse: drive roots on Windows, mounted file systems elsewhere.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // Root of the drive shown.
    QString drive() const;
    // Shows the drive that holds path, without raising driveChanged.
    void showDriveOf(const QString &path);

signals:
    void driveChanged(const QString &root);
};
