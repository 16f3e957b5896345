// A bare Qt 6 window of the main window's compact size, nothing else. In a build with the
// start-up steps (bench/steps) it marks the same steps as the program.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "platform/startup_steps.h"

namespace {

class BareWindow : public QWidget {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
#ifdef SOMNAR_STARTUP_STEPS
        QTimer::singleShot(0, this, [] { SOMNAR_STARTUP_PAINTED(); });
#endif
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    SOMNAR_STARTUP_MARK("libraries loaded, main reached");
    QApplication application(argc, argv);
    SOMNAR_STARTUP_MARK("Qt application");
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt Window"));
    window.setFixedSize(550, 206);
    SOMNAR_STARTUP_MARK("view built");
    window.show();
    SOMNAR_STARTUP_MARK("shown");
    return QApplication::exec();
}
