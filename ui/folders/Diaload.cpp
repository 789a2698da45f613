#include "Diaload.h"

#include "ControlPlacement.h"
#include "ProgramEnd.h"

#include <QCloseEvent>

Diaload::Diaload(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      OKButton(commandButton(this, "OKButton", QStringLiteral("OK"), {232, 8, 81, 25})),
      CancelButton(
          commandButton(this, "CancelButton", QStringLiteral("Cancel"), {232, 40, 81, 25})),
      Drive1(place(new DriveList(this), "Drive1", {16, 8, 209, 21})),
      Dir1(place(new DirectoryList(this), "Dir1", {16, 40, 209, 156})) {
    setObjectName(QStringLiteral("Diaload"));
    setWindowTitle(QStringLiteral("Locate folder containing Europe.act file"));
    // The client area's top-left corner goes to a fixed place on the screen.
    setGeometry(184, 250, 319, 199);
    setFixedSize(319, 199);

    Drive1->setAccessibleName(QStringLiteral("Drive"));
    Dir1->setAccessibleName(QStringLiteral("Folder"));

    OKButton->setEnabled(false);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, Drive1);
    setTabOrder(Drive1, Dir1);
    // OK starts disabled, so the first control that can take the focus is Cancel.
    CancelButton->setFocus();
}

void Diaload::closeEvent(QCloseEvent *event) {
    event->accept();
    endProgram();
}
