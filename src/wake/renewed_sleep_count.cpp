#include "wake/renewed_sleep_count.h"

#include "common/number_text.h"
#include "schedule/picker_moment.h"

namespace somnar {

void RenewedSleepCount::count(std::chrono::milliseconds now, unsigned run,
                              std::chrono::milliseconds interval) {
    std::chrono::duration<double> seconds = interval;
    if (lastCount_ && countedRun_ == run && now >= *lastCount_) {
        seconds = now - *lastCount_;
    }
    elapsed_ += seconds.count();
    lastCount_ = now;
    countedRun_ = run;
}

std::string timeLeftText(long secondsLeft) {
    if (secondsLeft < 0) {
        secondsLeft = 0;
    }
    return twoDigits(static_cast<int>(secondsLeft / 60)) + ":" +
           twoDigits(static_cast<int>(secondsLeft % 60));
}

std::optional<int> renewedSleepMinutes(const std::string& text) {
    const auto minutes = wholeNumber(text);
    if (!minutes || *minutes < 1 || *minutes > 1440) {
        return std::nullopt;
    }
    return minutes;
}

}  // namespace somnar
