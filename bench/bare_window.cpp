// A bare Qt 6 window of the main window's compact size, nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt Window"));
    window.setFixedSize(550, 206);
    window.show();
    return QApplication::exec();
}
