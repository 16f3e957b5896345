#include "platform/win32/windows_clock.h"

#include <array>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "wake/local_to_utc.h"

namespace somnar {

namespace {

using namespace std::chrono;

// FILETIME counts 100 ns from 1601-01-01, 11644473600 s before the Unix epoch.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDistance = 11'644'473'600;

std::optional<sys_seconds> toSysSeconds(const SYSTEMTIME& time) {
    FILETIME file{};
    if (!::SystemTimeToFileTime(&time, &file)) {
        return std::nullopt;
    }
    const std::int64_t ticks =
        (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return sys_seconds{seconds{ticks / kTicksPerSecond - kEpochDistance}};
}

SYSTEMTIME toSystemTime(sys_seconds moment) {
    const year_month_day date{floor<days>(moment)};
    const hh_mm_ss time{moment - floor<days>(moment)};
    SYSTEMTIME result{};
    result.wYear = static_cast<WORD>(static_cast<int>(date.year()));
    result.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    result.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    result.wHour = static_cast<WORD>(time.hours().count());
    result.wMinute = static_cast<WORD>(time.minutes().count());
    result.wSecond = static_cast<WORD>(time.seconds().count());
    return result;
}

// The offset in force at the moment, by the zone's rules for its year. Not the ...Ex
// calls with dynamic zone data: Wine lacks them.
std::optional<seconds> offsetAt(sys_seconds moment) {
    const SYSTEMTIME utcTime = toSystemTime(moment);
    TIME_ZONE_INFORMATION zone{};
    SYSTEMTIME localTime{};
    if (!::GetTimeZoneInformationForYear(utcTime.wYear, nullptr, &zone) ||
        !::SystemTimeToTzSpecificLocalTime(&zone, &utcTime, &localTime)) {
        return std::nullopt;
    }
    const auto local = toSysSeconds(localTime);
    if (!local) {
        return std::nullopt;
    }
    return *local - moment;
}

std::wstring dateText(const SYSTEMTIME& time) {
    // The short date's format, with a two-digit year widened to four.
    std::array<wchar_t, 80> format{};
    std::wstring pattern;
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, format.data(),
                          static_cast<int>(format.size())) > 0) {
        pattern = format.data();
        if (pattern.find(L"yyy") == std::wstring::npos) {
            const auto year = pattern.find(L"yy");
            if (year != std::wstring::npos) {
                pattern.insert(year, L"yy");
            }
        }
    }
    std::array<wchar_t, 80> text{};
    const int written =
        ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, pattern.empty() ? DATE_SHORTDATE : 0, &time,
                          pattern.empty() ? nullptr : pattern.c_str(), text.data(),
                          static_cast<int>(text.size()), nullptr);
    return written > 0 ? std::wstring(text.data()) : std::wstring();
}

std::wstring timeText(const SYSTEMTIME& time) {
    std::array<wchar_t, 80> text{};
    const int written = ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text.data(),
                                          static_cast<int>(text.size()));
    return written > 0 ? std::wstring(text.data()) : std::wstring();
}

}  // namespace

LocalDateTime WindowsClock::now() const {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::string WindowsClock::generalDateTimeText(const LocalDateTime& moment) const {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(moment.year);
    time.wMonth = static_cast<WORD>(moment.month);
    time.wDay = static_cast<WORD>(moment.day);
    time.wHour = static_cast<WORD>(moment.hour);
    time.wMinute = static_cast<WORD>(moment.minute);
    time.wSecond = static_cast<WORD>(moment.second);
    std::wstring text = dateText(time);
    if (moment.hour != 0 || moment.minute != 0 || moment.second != 0) {
        text += L' ' + timeText(time);
    }
    return win32::narrow(text);
}

std::optional<sys_seconds> WindowsClock::localToUtc(const LocalDateTime& moment) const {
    return somnar::localToUtc(moment, offsetAt);
}

milliseconds WindowsClock::monotonic() const {
    ULONGLONG ticks = 0;  // 100 ns
    ::QueryUnbiasedInterruptTime(&ticks);
    return milliseconds{static_cast<std::int64_t>(ticks / 10'000)};
}

sys_time<milliseconds> WindowsClock::utcNow() const {
    return time_point_cast<milliseconds>(system_clock::now());
}

}  // namespace somnar
