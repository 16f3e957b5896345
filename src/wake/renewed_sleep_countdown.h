#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/sleep_state.h"
#include "wake/renewed_sleep_count.h"

namespace somnar {

// What the window knows at a tick of the renewed-sleep timer.
struct RenewedSleepTick {
    bool requestStands = false;  // the request is confirmed and the option still ticked
    std::string minutesText;     // as the minutes picker shows it
    std::optional<SleepState> state;
    std::chrono::milliseconds now{};  // the monotonic clock
    unsigned run = 0;                 // which run of the timer ticks
    std::chrono::milliseconds interval{};
};

struct RenewedSleepAnswer {
    enum class Kind {
        Paused,          // nothing counts while the request does not stand
        MinutesInvalid,  // the picker gives no minutes: the countdown stands, `status` says so
        Counting,        // `status` shows the time left (empty: no state chosen)
        Due,             // the countdown is over: sleep in `sleep`, or none when not chosen
    };
    Kind kind = Kind::Paused;
    std::string status;
    std::optional<SleepState> sleep;
};

// The countdown after waking to the renewed sleep.
class RenewedSleepCountdown {
  public:
    RenewedSleepAnswer tick(const RenewedSleepTick& tick);
    // The next renewed sleep counts from zero.
    void reset() { count_.reset(); }
    double elapsedSeconds() const { return count_.elapsedSeconds(); }

  private:
    RenewedSleepCount count_;
};

}  // namespace somnar
