#pragma once

#include "platform/win32/windows_api.h"

#include <chrono>
#include <memory>
#include <type_traits>

namespace somnar::win32 {

struct TimerClose {
    void operator()(HANDLE timer) const {
        ::CancelWaitableTimer(timer);
        ::CloseHandle(timer);
    }
};
// A waitable timer; letting it go cancels it, and with it any wake-up it asked for.
using TimerHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, TimerClose>;

// A waitable timer set to an absolute UTC time, asking the system to wake the machine then.
struct WakeTimer {
    TimerHandle timer;        // empty when it could not be made or set
    unsigned long error = 0;  // the system's error number then
    // Set, but the system will not wake the machine for it (ERROR_TIMER_RESUME_IGNORED, or
    // ERROR_NOT_SUPPORTED): the error number says why. The timer still goes off.
    bool resumeIgnored = false;
};

// The FILETIME count (100 ns since 1601) of a moment.
long long fileTimeOf(std::chrono::sys_seconds moment);

WakeTimer setWakeTimer(std::chrono::sys_seconds due);

}  // namespace somnar::win32
