#include "schedule/test_wake.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "common/number_text.h"
#include "schedule/sleep_request.h"
#include "schedule/sleep_with_wake_up.h"
#include "schedule/sleeper.h"

namespace somnar {
namespace {

using namespace std::chrono;
using Instant = sys_time<milliseconds>;

constexpr double kLateLimit = 10.0;
// The real-time clock counts whole seconds, and after a resume the system clock is set from
// it: a wake-up by the alarm may seem up to a second or so early.
constexpr double kEarlyLimit = -2.0;

Instant asInstant(const LocalDateTime& at) {
    const sys_days date{year{at.year} / at.month / at.day};
    return date + hours{at.hour} + minutes{at.minute} + seconds{at.second};
}

// Wall-clock time of day, "06:40:31,8", with the zone's present offset.
std::string wallClock(Instant at, milliseconds offset) {
    const Instant local = at + offset;
    const hh_mm_ss time{local - floor<days>(local)};
    return twoDigits(static_cast<int>(time.hours().count())) + ":" +
           twoDigits(static_cast<int>(time.minutes().count())) + ":" +
           twoDigits(static_cast<int>(time.seconds().count())) + "," +
           std::to_string(time.subseconds().count() / 100);
}

std::string tenths(double seconds) {
    const long value = std::lround(seconds * 10);
    const std::string sign = value < 0 ? "-" : "";
    return sign + std::to_string(std::abs(value) / 10) + "," + std::to_string(std::abs(value) % 10);
}

}  // namespace

int measureTestWake(PowerManager& power, WakeAlarm& wakeAlarm, Clock& clock,
                    const FailureTexts& texts, SleepState state, int ahead, std::ostream& out) {
    const milliseconds offset = asInstant(clock.now()) - floor<seconds>(clock.utcNow());
    const sys_seconds due = ceil<seconds>(clock.utcNow()) + seconds(ahead);
    AlarmResult armed = wakeAlarm.arm(state, due);
    if (!armed.alarm) {
        out << "Die Aufwachzeit konnte nicht gestellt werden. " << texts.alarmFailure(state, armed)
            << "\n";
        return 1;
    }
    out << "Testweckung: " << stateWord(state) << ", Weckzeit " << wallClock(due, offset) << " (in "
        << ahead << " s)\n";
    out.flush();

    const Instant requested = clock.utcNow();
    const WakeUpSleep sleep = sleepWithWakeUp(power, wakeAlarm, clock, state, due, armed.alarm);
    const SleepResult& slept = sleep.slept;
    const Instant woke = clock.utcNow();
    armed.alarm.reset();
    if (!slept.slept()) {
        out << sleepRefusalText(state, slept, "\n") << "\n";
        return 1;
    }
    if (sleep.movedTo) {
        out << lateWakeUpText(wallClock(due, offset), sleep.rearm) << "\n";
        if (!sleep.rearm.ok()) {
            return 1;
        }
        out << "Neue Weckzeit: " << wallClock(*sleep.movedTo, offset) << "\n";
    }
    if (slept.wakeNotice != WakeNotice::Announced) {
        out << "Die Energieverwaltung hat das Aufwachen nicht gemeldet.\n";
    }
    const double late = duration<double>(woke - sleep.movedTo.value_or(due)).count();
    out << "Eingeschlafen: " << wallClock(slept.wentDownAt.value_or(requested), offset) << "\n"
        << "Aufgewacht: " << wallClock(woke, offset) << "\n"
        << "Verspätung: " << tenths(late) << " s\n";
    if (late < kEarlyLimit) {
        out << "Zu früh aufgewacht: nicht durch die Weckzeit.\n";
        return 1;
    }
    if (late > kLateLimit) {
        out << "Zu spät aufgewacht: mehr als 10 s nach der Weckzeit.\n";
        return 1;
    }
    out << "Pünktlich aufgewacht.\n";
    return 0;
}

}  // namespace somnar
