#pragma once

#include "platform/wake_alarm.h"

namespace somnar::win32 {

// The wake-up from standby and from hibernation alike: a waitable timer at an absolute UTC
// time with the resume flag, which the system programs into the machine's clock when it
// goes down. A machine that will not be woken by timers says so when the timer is set, a
// power plan that forbids wake timers in its settings: either is no alarm clock (with the
// system's words for the reason), and the alarm is not armed, so the program never sleeps
// without its wake-up. A due time that has already come is refused before anything
// is set. Destroying the armed alarm cancels the timer.
class WaitableTimerWakeAlarm final : public WakeAlarm {
  public:
    AlarmResult arm(SleepState state, std::chrono::sys_seconds due) override;
};

}  // namespace somnar::win32
