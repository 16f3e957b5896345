#include "platform/win32/mutex_instance_guard.h"

#include <utility>

#include "platform/win32/wide_text.h"

namespace somnar {

MutexInstanceGuard::MutexInstanceGuard(std::string name) : name_(std::move(name)) {}

bool MutexInstanceGuard::acquire() {
    if (mutex_) {
        return true;
    }
    win32::OwnedHandle mutex(::CreateMutexW(nullptr, FALSE, win32::widen(name_).c_str()));
    // Read at once: the next call may change it.
    const DWORD error = ::GetLastError();
    // Access denied: the name is taken by a copy that runs with other rights.
    if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED)) {
        return false;  // a handle to the other copy's mutex closes here
    }
    mutex_ = std::move(mutex);
    return true;
}

}  // namespace somnar
