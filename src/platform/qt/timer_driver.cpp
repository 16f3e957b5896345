#include "platform/qt/timer_driver.h"

#include "platform/model_hold.h"

namespace somnar {

void TimerDriver::drive(Timer& timer) {
    auto binding = std::make_unique<Binding>(Binding{&timer, std::make_unique<QTimer>(), {}});
    Binding* bound = binding.get();
    // Ticks that fell due while the thread was blocked are not delivered as a burst, and
    // none while the model is held: the next one comes after the hold.
    bound->timer->setTimerType(Qt::CoarseTimer);
    connect(bound->timer.get(), &QTimer::timeout, this, [bound] {
        if (!ModelHold::engaged()) {
            bound->model->tick();
        }
    });
    timer.setObserver([this, bound] { follow(*bound); });
    bindings_.push_back(std::move(binding));
    follow(*bound);
}

void TimerDriver::follow(Binding& binding) {
    switch (binding.run.follow(*binding.model, binding.timer->isActive())) {
        case TimerRun::Step::Start:
            binding.timer->start(binding.model->interval());
            break;
        case TimerRun::Step::Stop:
            binding.timer->stop();
            break;
        case TimerRun::Step::Keep:
            break;
    }
}

void TimerDriver::stopAll() {
    for (auto& binding : bindings_) {
        binding->model->setObserver(nullptr);
        binding->timer->stop();
    }
}

}  // namespace somnar
