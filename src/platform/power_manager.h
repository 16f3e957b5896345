#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/sleep_state.h"

namespace somnar {

enum class SleepOutcome {
    WokeUp,         // the machine slept and has woken again
    NotAuthorized,  // the power service refused: this user may not (also after asking)
    NotSupported,   // the power service refused: the machine cannot enter this state
    Refused,        // the power service refused for another reason (busy, error reply)
    NotAnnounced,   // accepted, but the sleep did not begin within the time allowed
    NoService,      // there is no power service to ask (no system bus, no logind, or it
                    // left before answering)
    Abandoned,      // the program is ending: the request was left before it was over
};

// How the program learnt that the machine is up again after it went down.
enum class WakeNotice {
    Announced,    // the power service said so
    SuspendSeen,  // it did not; the time the machine spent suspended showed it
    NoneInTime,   // no sign within the time allowed: taken to be awake
};

// How a sleep request ended. detail: the power service's own words on a refusal (its
// error text, untranslated), empty otherwise.
struct SleepResult {
    SleepOutcome outcome = SleepOutcome::WokeUp;
    std::string detail;
    // When the power service announced that the machine goes down, where it said so.
    std::optional<std::chrono::sys_time<std::chrono::milliseconds>> wentDownAt{};
    WakeNotice wakeNotice = WakeNotice::Announced;

    bool slept() const { return outcome == SleepOutcome::WokeUp; }
};

// The machine's sleep states, as the power service of the desktop offers them.
class PowerManager {
  public:
    virtual ~PowerManager() = default;

    virtual bool canHibernate() = 0;
    virtual bool canSuspend() = 0;
    // The power service's own answer whether the state may be entered ("yes", "no",
    // "challenge", "na"); empty when the service cannot be asked.
    virtual std::optional<std::string> sleepAnswer(SleepState state) = 0;

    // Puts the machine to sleep and returns only after it has woken again, or as soon as
    // it is clear that it does not go to sleep. The window keeps painting meanwhile, but
    // nothing else of the program runs. The time the user takes to authorise the request is
    // not limited here. `goingDown` (may be empty) runs once the power service announces
    // the sleep, while it still waits for us: the last moment to set the wake-up right.
    virtual SleepResult sleep(SleepState state, const std::function<void()>& goingDown) = 0;

    // Keeps the machine and its display awake for the rest of the run.
    virtual void keepAwake() = 0;
};

}  // namespace somnar
