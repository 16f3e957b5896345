#include "schedule/sleep_with_wake_up.h"

namespace somnar {

WakeUpSleep sleepWithWakeUp(PowerManager& power, WakeAlarm& wakeAlarm, const Clock& clock,
                            SleepState state, std::chrono::sys_seconds due,
                            std::unique_ptr<ArmedAlarm>& armed) {
    WakeUpSleep sleep;
    const auto goingDown = [&] {
        const auto now = clock.utcNow();
        if (due - now >= kShortestWakeLead) {
            return;
        }
        sleep.movedTo = std::chrono::ceil<std::chrono::seconds>(now) + kShortestWakeLead;
        // Taken back first: the clock's own alarm holds one time, and taking the old one
        // back after arming the new would clear the new one.
        armed.reset();
        AlarmResult again = wakeAlarm.arm(state, *sleep.movedTo);
        armed = std::move(again.alarm);
        sleep.rearm = static_cast<AlarmFailure&>(again);
    };
    sleep.slept = power.sleep(state, goingDown);
    return sleep;
}

}  // namespace somnar
