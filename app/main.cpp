#include "Editor.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    // Lets Wayland docks find the desktop entry, which is named after the application id.
    QGuiApplication::setDesktopFileName(QStringLiteral(TPE_APP_ID));
    Editor editor;
    editor.formLoad();
    return application.exec();
}
