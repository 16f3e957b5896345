#include "platform/win32/shutdown_privilege.h"

#include "platform/win32/owned_handle.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {
namespace {

std::string lastErrorText() {
    return systemErrorText(::GetLastError());
}

}  // namespace

std::string enableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        return lastErrorText();
    }
    const OwnedHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        return lastErrorText();
    }
    // Succeeds also when the token lacks the privilege: only the last error tells.
    ::SetLastError(ERROR_SUCCESS);
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) ||
        ::GetLastError() != ERROR_SUCCESS) {
        return lastErrorText();
    }
    return {};
}

}  // namespace somnar::win32
