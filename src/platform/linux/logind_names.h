#pragma once

namespace somnar::logind {

// Where systemd-logind answers on the system bus.
inline constexpr const char* kService = "org.freedesktop.login1";
inline constexpr const char* kPath = "/org/freedesktop/login1";
inline constexpr const char* kManager = "org.freedesktop.login1.Manager";

// logind's answer to a sleep this machine cannot do (no such state, too little swap).
inline constexpr const char* kSleepVerbNotSupported =
    "org.freedesktop.login1.SleepVerbNotSupported";

// How the program names itself to logind and to the screen saver.
inline constexpr const char* kApplication = "Somnar Scheduler";

}  // namespace somnar::logind
