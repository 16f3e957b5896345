#pragma once

#include <string>

namespace somnar::win32 {

// Enables the shutdown privilege (SE_SHUTDOWN_NAME) in the process's token, which the sleep
// call needs. Empty when it is enabled; otherwise the system's words why not (a user
// without the right gets ERROR_NOT_ALL_ASSIGNED's).
std::string enableShutdownPrivilege();

}  // namespace somnar::win32
