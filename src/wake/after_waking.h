#pragma once

#include <optional>
#include <string>

#include "platform/services.h"
#include "wake/after_wake_plan.h"
#include "wake/renewed_sleep_count.h"

namespace somnar {

// The steps after waking that start at once, and the count towards the renewed sleep.
// Nobody may be at the machine then: a step that fails gives back its problem for the
// status line instead of holding up the rest with a box.
class AfterWaking {
  public:
    explicit AfterWaking(Services& services) : services_(services) {}

    std::optional<std::string> dial(const DialupLogin& login);
    std::optional<std::string> startProgram(const std::string& commandLine);

    RenewedSleepCount& renewedSleepCount() { return count_; }

  private:
    Services& services_;
    RenewedSleepCount count_;
};

}  // namespace somnar
