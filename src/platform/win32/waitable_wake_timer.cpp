#include "platform/win32/waitable_wake_timer.h"

namespace somnar::win32 {
namespace {

// From 1601-01-01 to 1970-01-01.
constexpr long long kSecondsBeforeUnixEpoch = 11644473600LL;
constexpr long long kTicksPerSecond = 10000000LL;
// winerror.h's ERROR_TIMER_RESUME_IGNORED, which mingw-w64's headers lack.
constexpr DWORD kTimerResumeIgnored = 722;

}  // namespace

long long fileTimeOf(std::chrono::sys_seconds moment) {
    return (moment.time_since_epoch().count() + kSecondsBeforeUnixEpoch) * kTicksPerSecond;
}

WakeTimer setWakeTimer(std::chrono::sys_seconds due) {
    WakeTimer result;
    TimerHandle timer(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_MANUAL_RESET,
                                               TIMER_ALL_ACCESS));
    if (!timer) {
        result.error = ::GetLastError();
        return result;
    }
    LARGE_INTEGER when{};
    when.QuadPart = fileTimeOf(due);  // positive: an absolute UTC time
    // A success leaves the last error as it was; only the resume warning sets it.
    ::SetLastError(ERROR_SUCCESS);
    if (!::SetWaitableTimer(timer.get(), &when, 0, nullptr, nullptr, TRUE)) {
        result.error = ::GetLastError();
        return result;
    }
    const DWORD warning = ::GetLastError();
    if (warning == kTimerResumeIgnored || warning == ERROR_NOT_SUPPORTED) {
        result.error = warning;
        result.resumeIgnored = true;
    }
    result.timer = std::move(timer);
    return result;
}

}  // namespace somnar::win32
