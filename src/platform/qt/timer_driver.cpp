#include "platform/qt/timer_driver.h"

#include "platform/model_hold.h"

namespace somnar {

void TimerDriver::drive(Timer& timer) {
    auto binding = std::make_unique<Binding>(Binding{&timer, std::make_unique<QTimer>(), 0});
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
    Timer& model = *binding.model;
    if (!model.enabled() || model.interval() <= 0) {
        binding.timer->stop();
        return;
    }
    const bool restarted = binding.startsSeen != model.startCount();
    if (restarted || !binding.timer->isActive() || binding.timer->interval() != model.interval()) {
        binding.startsSeen = model.startCount();
        binding.timer->start(model.interval());
    }
}

void TimerDriver::stopAll() {
    for (auto& binding : bindings_) {
        binding->model->setObserver(nullptr);
        binding->timer->stop();
    }
}

}  // namespace somnar
