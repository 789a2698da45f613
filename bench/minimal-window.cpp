// The floor for any Qt program's start-up here: one window with a label and a button, the
// size of the editor's folder dialog.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt window"));
    window.setGeometry(184, 250, 319, 199);
    auto *label = new QLabel(QStringLiteral("A label"), &window);
    label->setGeometry(8, 8, 200, 20);
    auto *button = new QPushButton(QStringLiteral("A button"), &window);
    button->setGeometry(8, 40, 89, 25);
    window.show();
    return application.exec();
}
