#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/controls.h"
#include "layout/timer_run.h"

namespace somnar {

// Runs one QTimer per model timer, following its Enabled and interval, and delivers
// the ticks to the model one at a time on the window's thread.
class TimerDriver : public QObject {
    Q_OBJECT
  public:
    explicit TimerDriver(QObject* parent) : QObject(parent) {}

    void drive(Timer& timer);
    void stopAll();

  private:
    struct Binding {
        Timer* model;
        std::unique_ptr<QTimer> timer;
        TimerRun run;
    };
    void follow(Binding& binding);

    std::vector<std::unique_ptr<Binding>> bindings_;
};

}  // namespace somnar
