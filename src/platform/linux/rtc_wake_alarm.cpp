#include "platform/linux/rtc_wake_alarm.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "platform/linux/unique_fd.h"

namespace somnar {

namespace {

// Writes the text as one new content of the file, as `echo text > file` does: sysfs takes
// a value only in one write. Returns 0 or the errno.
int writeValue(const std::filesystem::path& file, const std::string& text) {
    const UniqueFd fd(::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!fd.valid()) {
        return errno;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd.get(), text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

// hwclock's third line of /etc/adjtime: "LOCAL" when the clock keeps local time. A
// missing file means UTC, as for hwclock.
bool clockKeepsLocalTime(const std::filesystem::path& adjtimeFile) {
    std::ifstream in(adjtimeFile);
    std::string line;
    for (int i = 0; i < 3; ++i) {
        if (!std::getline(in, line)) {
            return false;
        }
    }
    const auto first = line.find_first_not_of(" \t\r");
    const auto last = line.find_last_not_of(" \t\r");
    return first != std::string::npos && line.substr(first, last - first + 1) == "LOCAL";
}

// The seconds the clock must show at `due`: for a clock in local time, the local wall
// clock read as if it were UTC, with the offset in force at `due`.
long long clockSeconds(std::chrono::sys_seconds due, bool localTime) {
    long long seconds = due.time_since_epoch().count();
    if (localTime) {
        ::tzset();
        const std::time_t moment = std::chrono::system_clock::to_time_t(due);
        std::tm local{};
        if (::localtime_r(&moment, &local) != nullptr) {
            seconds += local.tm_gmtoff;
        }
    }
    return seconds;
}

AlarmResult refusal(AlarmError error, const std::filesystem::path& file, int systemError = 0) {
    AlarmResult result;
    result.error = error;
    result.detail = file.string();
    if (systemError != 0) {
        result.systemError = std::system_category().message(systemError);
    }
    return result;
}

AlarmResult writeRefusal(const std::filesystem::path& file, int error) {
    if (error == EACCES || error == EPERM) {
        return refusal(AlarmError::NoPermission, file);
    }
    return refusal(AlarmError::Failed, file, error);
}

}  // namespace

AlarmResult RtcWakeAlarm::arm(const std::filesystem::path& rtcFolder,
                              const std::filesystem::path& adjtimeFile,
                              std::chrono::sys_seconds due) {
    const std::filesystem::path file = rtcFolder / "wakealarm";
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) {
        return refusal(AlarmError::NoAlarmClock, file);
    }
    if (const int error = writeValue(file, "0\n"); error != 0) {
        return writeRefusal(file, error);
    }
    const long long seconds = clockSeconds(due, clockKeepsLocalTime(adjtimeFile));
    if (const int error = writeValue(file, std::to_string(seconds) + "\n"); error != 0) {
        return writeRefusal(file, error);
    }
    AlarmResult result;
    result.alarm = std::make_unique<RtcWakeAlarm>(file);
    return result;
}

RtcWakeAlarm::RtcWakeAlarm(std::filesystem::path wakealarmFile) : file_(std::move(wakealarmFile)) {}

RtcWakeAlarm::~RtcWakeAlarm() {
    // Nothing to tell anyone from here: a clock that refuses the clear wakes the machine
    // once for nothing.
    (void)writeValue(file_, "0\n");
}

}  // namespace somnar
