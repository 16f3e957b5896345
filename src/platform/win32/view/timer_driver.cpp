#include "platform/win32/view/timer_driver.h"

#include "platform/model_hold.h"

namespace somnar::win32 {
namespace {

constexpr UINT_PTR kFirstTimerId = 0x5000;

}  // namespace

void TimerDriver::drive(Timer& timer) {
    bindings_.push_back(
        std::make_unique<Binding>(Binding{&timer, kFirstTimerId + bindings_.size(), false, {}}));
    Binding* bound = bindings_.back().get();
    timer.setObserver([this, bound] { follow(*bound); });
    follow(*bound);
}

void TimerDriver::follow(Binding& binding) {
    switch (binding.run.follow(*binding.model, binding.running)) {
        case TimerRun::Step::Start:
            binding.running =
                ::SetTimer(window_, binding.id, static_cast<UINT>(binding.model->interval()),
                           nullptr) != 0;
            break;
        case TimerRun::Step::Stop:
            ::KillTimer(window_, binding.id);
            binding.running = false;
            break;
        case TimerRun::Step::Keep:
            break;
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
