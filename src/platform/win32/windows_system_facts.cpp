#include "platform/win32/windows_system_facts.h"

#include <cstddef>
#include <memory>

#include "platform/win32/windows_api.h"

#include <powrprof.h>

namespace somnar {

namespace {

// Own copies of the power setting identifiers: mingw declares them without defining them.
constexpr GUID kSleepSubgroup = {
    0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr GUID kAllowWakeTimers = {
    0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};

// AoAc (Modern Standby) follows FastSystemS4, Hiberboot and WakeAlarmPresent; mingw's
// header still calls those bytes spare2.
constexpr std::size_t kAoAcOffset = offsetof(SYSTEM_POWER_CAPABILITIES, FastSystemS4) + 3;
static_assert(kAoAcOffset == 20, "the layout Windows documents");

struct LocalFreer {
    void operator()(GUID* scheme) const noexcept { ::LocalFree(scheme); }
};

}  // namespace

std::optional<PowerPolicy::Capabilities> WindowsSystemFacts::capabilities() {
    SYSTEM_POWER_CAPABILITIES caps{};
    if (!::GetPwrCapabilities(&caps)) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&caps);
    return Capabilities{caps.SystemS3 != 0, bytes[kAoAcOffset] != 0, caps.SystemS4 != 0,
                        caps.HiberFilePresent != 0, caps.SystemBatteriesPresent != 0};
}

WakeTimers WindowsSystemFacts::wakeTimers(PowerSource source) {
    GUID* active = nullptr;
    if (::PowerGetActiveScheme(nullptr, &active) != ERROR_SUCCESS) {
        return WakeTimers::Unknown;
    }
    const std::unique_ptr<GUID, LocalFreer> scheme(active);
    DWORD value = 0;
    const DWORD result = source == PowerSource::Mains
                             ? ::PowerReadACValueIndex(nullptr, scheme.get(), &kSleepSubgroup,
                                                       &kAllowWakeTimers, &value)
                             : ::PowerReadDCValueIndex(nullptr, scheme.get(), &kSleepSubgroup,
                                                       &kAllowWakeTimers, &value);
    if (result != ERROR_SUCCESS) {
        return WakeTimers::Unknown;
    }
    switch (value) {
        case 0:
            return WakeTimers::Disabled;
        case 1:
            return WakeTimers::Allowed;
        case 2:
            return WakeTimers::ImportantOnly;
        default:
            return WakeTimers::Unknown;
    }
}

}  // namespace somnar
