#pragma once

#include "DirectoryList.h"
#include "DriveList.h"

#include <QPushButton>
#include <QWidget>

// The folder dialog shown at start: pick the folder that holds the palette, then OK.
class Diaload : public QWidget {
    Q_OBJECT

public:
    explicit Diaload(QWidget *parent = nullptr);

    QPushButton *const OKButton;
    QPushButton *const CancelButton;
    DriveList *const Drive1;
    DirectoryList *const Dir1;

protected:
    void closeEvent(QCloseEvent *event) override;
};
