#include "Editor.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    Editor editor;
    editor.formLoad();
    return application.exec();
}
