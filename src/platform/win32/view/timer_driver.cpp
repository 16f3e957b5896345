#include "platform/win32/view/timer_driver.h"

#include "platform/model_hold.h"

namespace somnar::win32 {
namespace {

constexpr UINT_PTR kFirstTimerId = 0x5000;

}  // namespace

void TimerDriver::drive(Timer& timer) {
    bindings_.push_back(
        std::make_unique<Binding>(Binding{&timer, kFirstTimerId + bindings_.size(), false, 0, 0}));
    Binding* bound = bindings_.back().get();
    timer.setObserver([this, bound] { follow(*bound); });
    follow(*bound);
}

void TimerDriver::follow(Binding& binding) {
    const Timer& model = *binding.model;
    if (!model.enabled() || model.interval() <= 0) {
        if (binding.running) {
            ::KillTimer(window_, binding.id);
            binding.running = false;
        }
        return;
    }
    // Switched on again or a new interval: the count starts afresh.
    if (!binding.running || binding.startsSeen != model.startCount() ||
        binding.interval != model.interval()) {
        binding.startsSeen = model.startCount();
        binding.interval = model.interval();
        binding.running =
            ::SetTimer(window_, binding.id, static_cast<UINT>(model.interval()), nullptr) != 0;
    }
}

bool TimerDriver::tick(UINT_PTR id) {
    for (const auto& binding : bindings_) {
        if (binding->id == id && binding->running) {
            if (!ModelHold::engaged()) {
                binding->model->tick();
            }
            return true;
        }
    }
    return false;
}

void TimerDriver::stopAll() {
    for (const auto& binding : bindings_) {
        binding->model->setObserver(nullptr);
        if (binding->running) {
            ::KillTimer(window_, binding->id);
            binding->running = false;
        }
    }
}

}  // namespace somnar::win32
