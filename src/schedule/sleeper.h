#pragma once

#include <chrono>
#include <string>

#include "platform/clock.h"
#include "platform/failure_texts.h"
#include "platform/log.h"
#include "platform/power_manager.h"
#include "platform/wake_alarm.h"

namespace somnar {

// How an attempt to sleep ended.
enum class SleepAttempt {
    WokeUp,        // slept and woke again
    AlarmRefused,  // the wake-up could not be armed: no sleep
    NotSlept,      // the machine did not go to sleep
};

struct SleepAttemptResult {
    SleepAttempt outcome = SleepAttempt::WokeUp;
    std::string refusal;  // why not, for the user; empty after a wake-up
    // The wake-up was moved because the request was authorised too late (see
    // kShortestWakeLead); `rearm` says whether the moved one could be armed.
    bool wakeUpMoved = false;
    AlarmFailure rearm{};
};

// The seams a sleep needs, and the command that tells what waking lacks.
struct SleeperSeams {
    PowerManager& power;
    WakeAlarm& wakeAlarm;
    const Clock& clock;
    Log& log;
    const FailureTexts& texts;
    std::string checkCommand;
};

// Puts the machine to sleep, with its wake-up armed first where one is wanted.
class Sleeper {
  public:
    explicit Sleeper(SleeperSeams seams) : seams_(std::move(seams)) {}

    // Arms the wake-up for `due`, sleeps, and once woken keeps the machine awake and takes
    // the alarm back. Sleeping without the wake-up the user asked for would be worse than
    // not sleeping, so a refused alarm means no sleep; a wake-up that has come too close by
    // the time the machine goes down is moved.
    SleepAttemptResult sleepAndWake(SleepState state, std::chrono::sys_seconds due);
    // Sleeps without a wake-up; `lineBreak` goes before the power service's own words in
    // a refusal.
    SleepAttemptResult sleepOnly(SleepState state, const std::string& lineBreak = "\r\n");

  private:
    // A wake-up the power service did not announce goes to the log.
    void noteWakeNotice(WakeNotice notice);

    SleeperSeams seams_;
};

// Why the machine did not go to sleep, in German: one sentence for the kind of refusal,
// then the power service's own words after `lineBreak` where it gave any.
std::string sleepRefusalText(SleepState state, const SleepResult& result,
                             const std::string& lineBreak = "\r\n");

// Why the wake-up could not be armed, what that means, and where to look.
std::string wakeAlarmRefusalText(SleepState state, AlarmError error, const std::string& detail,
                                 const std::string& checkCommand);

// Why the machine woke later than `wakeUp` (the pickers' moment as text) said: the request was
// authorised too late, and the moved wake-up was armed or, as `rearm` tells, could not be.
std::string lateWakeUpText(const std::string& wakeUp, const AlarmFailure& rearm);

}  // namespace somnar
