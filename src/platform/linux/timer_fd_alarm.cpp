#include "platform/linux/timer_fd_alarm.h"

#include <sys/timerfd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace somnar {

namespace {

std::string errorText(int error) {
    return std::system_category().message(error);
}

// This very program file, to which the capability is granted.
std::string programFile() {
    std::error_code ignored;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", ignored).string();
    return self.empty() ? "somnar-scheduler" : self;
}

// `creating`: the error came from timerfd_create, where the kernel tells of missing alarm
// timers; when arming, only the permission is worth telling apart.
AlarmResult refusal(int error, bool creating) {
    AlarmResult result;
    if (error == EPERM) {
        result.error = AlarmError::NoPermission;
        result.detail = programFile();
    } else if (creating && (error == EINVAL || error == ENODEV || error == ENOTSUP)) {
        // Kernels without alarm timers (or without a clock to drive them) say so here.
        result.error = AlarmError::NoAlarmClock;
        result.systemError = errorText(error);
    } else {
        result.error = AlarmError::Failed;
        result.systemError = errorText(error);
    }
    return result;
}

}  // namespace

AlarmResult TimerFdAlarm::arm(std::chrono::sys_seconds due) {
    UniqueFd fd(::timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC));
    if (!fd.valid()) {
        return refusal(errno, true);
    }
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(due.time_since_epoch().count());
    if (::timerfd_settime(fd.get(), TFD_TIMER_ABSTIME, &when, nullptr) != 0) {
        return refusal(errno, false);
    }
    AlarmResult result;
    result.alarm = std::make_unique<TimerFdAlarm>(std::move(fd));
    return result;
}

}  // namespace somnar
