#include "DisplayCheck.h"
#include "Editor.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    if (const QString message = missingDisplayMessage(argc, argv); !message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    QApplication application(argc, argv);
    // Lets Wayland docks find the desktop entry, which is named after the application id.
    QGuiApplication::setDesktopFileName(QStringLiteral(TPE_APP_ID));
    Editor editor;
    editor.formLoad();
    return application.exec();
}
