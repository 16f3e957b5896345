#include "platform/win32/wake_timer_policy.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <powrprof.h>

#include <memory>
#include <vector>

namespace somnar::win32 {
namespace {

// winnt.h's GUID_SLEEP_SUBGROUP and GUID_ALLOW_RTC_WAKE, here so no GUID library is needed.
constexpr GUID kSleepSettings{
    0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr GUID kAllowWakeTimers{
    0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};
constexpr DWORD kWakeTimersOn = 1;

struct LocalFreeGuid {
    void operator()(GUID* guid) const { ::LocalFree(guid); }
};

// A name the power functions write as UTF-16 into a byte buffer; empty when there is none.
template <typename Read>
std::string powerName(Read read) {
    DWORD size = 0;
    if (read(nullptr, &size) != ERROR_SUCCESS || size == 0) {
        return {};
    }
    std::vector<wchar_t> name(size / sizeof(wchar_t) + 1, L'\0');
    if (read(reinterpret_cast<UCHAR*>(name.data()), &size) != ERROR_SUCCESS) {
        return {};
    }
    return narrow(name.data());
}

}  // namespace

std::optional<std::string> wakeTimersForbidden() {
    GUID* raw = nullptr;
    if (::PowerGetActiveScheme(nullptr, &raw) != ERROR_SUCCESS || raw == nullptr) {
        return std::nullopt;
    }
    const std::unique_ptr<GUID, LocalFreeGuid> scheme(raw);
    SYSTEM_POWER_STATUS power{};
    const bool onBattery = ::GetSystemPowerStatus(&power) && power.ACLineStatus == 0;
    DWORD value = kWakeTimersOn;
    const DWORD read = onBattery ? ::PowerReadDCValueIndex(nullptr, scheme.get(), &kSleepSettings,
                                                           &kAllowWakeTimers, &value)
                                 : ::PowerReadACValueIndex(nullptr, scheme.get(), &kSleepSettings,
                                                           &kAllowWakeTimers, &value);
    if (read != ERROR_SUCCESS || value == kWakeTimersOn) {
        return std::nullopt;
    }
    const std::string setting = powerName([&](UCHAR* buffer, DWORD* size) {
        return ::PowerReadFriendlyName(nullptr, scheme.get(), &kSleepSettings, &kAllowWakeTimers,
                                       buffer, size);
    });
    const std::string choice = powerName([&](UCHAR* buffer, DWORD* size) {
        return ::PowerReadPossibleFriendlyName(nullptr, &kSleepSettings, &kAllowWakeTimers, value,
                                               buffer, size);
    });
    return (setting.empty() ? "ALLOW_RTC_WAKE" : setting) + ": " +
           (choice.empty() ? std::to_string(value) : choice);
}

}  // namespace somnar::win32
