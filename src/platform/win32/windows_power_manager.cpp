#include "platform/win32/windows_power_manager.h"

#include "platform/win32/shutdown_privilege.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/windows_api.h"

#include <powrprof.h>

#include <utility>

namespace somnar::win32 {
namespace {

bool systemSuspend(bool hibernate) {
    // Not forced, so programs may still object; wake events (our timer) allowed.
    return ::SetSuspendState(hibernate ? TRUE : FALSE, FALSE, FALSE) != FALSE;
}

SleepOutcome refusalKind(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return SleepOutcome::NotAuthorized;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return SleepOutcome::NotSupported;
        default:
            return SleepOutcome::Refused;
    }
}

}  // namespace

WindowsPowerManager::WindowsPowerManager(ResponsiveCall& responsive, SuspendCall suspend)
    : responsive_(responsive),
      suspend_(suspend ? std::move(suspend) : SuspendCall(systemSuspend)) {}

bool WindowsPowerManager::canHibernate() {
    return ::IsPwrHibernateAllowed() != FALSE;
}

bool WindowsPowerManager::canSuspend() {
    return ::IsPwrSuspendAllowed() != FALSE;
}

std::optional<std::string> WindowsPowerManager::sleepAnswer(SleepState state) {
    const bool hibernate = state == SleepState::Hibernate;
    if (hibernate ? canHibernate() : canSuspend()) {
        return "yes";
    }
    SYSTEM_POWER_CAPABILITIES capabilities{};
    if (!::GetPwrCapabilities(&capabilities)) {
        return "no";
    }
    const bool present =
        hibernate ? capabilities.SystemS4 != FALSE
                  : (capabilities.SystemS1 || capabilities.SystemS2 || capabilities.SystemS3);
    return present ? "no" : "na";
}

SleepResult WindowsPowerManager::sleep(SleepState state, const std::function<void()>& goingDown) {
    if (std::string refused = enableShutdownPrivilege(); !refused.empty()) {
        return {SleepOutcome::NotAuthorized, std::move(refused)};
    }
    if (goingDown) {
        goingDown();
    }
    SleepResult result;
    result.wentDownAt =
        std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::system_clock::now());
    bool slept = false;
    DWORD error = ERROR_SUCCESS;
    // The last error belongs to the thread that made the call.
    responsive_.run([&] {
        slept = suspend_(state == SleepState::Hibernate);
        error = slept ? ERROR_SUCCESS : ::GetLastError();
    });
    if (!slept) {
        result.outcome = refusalKind(error);
        result.detail = systemErrorText(error);
        result.wentDownAt.reset();
    }
    return result;
}

void WindowsPowerManager::keepAwake() {
    ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

}  // namespace somnar::win32
