#include "Diaload.h"

#include "ProgramEnd.h"

#include <QCloseEvent>

namespace {

template <typename Control> Control *place(Control *control, const char *name, QRect geometry) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect geometry) {
    auto *result = place(new QPushButton(caption, parent), name, geometry);
    // Neither button answers Enter or Escape on the dialog's behalf.
    result->setAutoDefault(false);
    result->setDefault(false);
    result->setAccessibleName(caption);
    return result;
}

} // namespace

Diaload::Diaload(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      OKButton(button(this, "OKButton", QStringLiteral("OK"), {232, 8, 81, 25})),
      CancelButton(button(this, "CancelButton", QStringLiteral("Cancel"), {232, 40, 81, 25})),
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
