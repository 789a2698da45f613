#pragma once

#include <QComboBox>

// The drives to browse: drive roots on Windows, mounted file systems elsewhere. Listing them
// touches none of their disks, so a mount that does not answer cannot hold up the dialog.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // Root of the drive shown.
    QString drive() const;

    // Shows the drive that holds folder, the deepest listed one, without raising
    // driveChanged: the folder list that reports folder is already there.
    void follow(const QString &folder);

signals:
    // The user picked another drive.
    void driveChanged(const QString &root);

private:
    bool m_following = false;
};
