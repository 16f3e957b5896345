#pragma once

#include <memory>
#include <type_traits>

#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// Closes a kernel object handle (file, mutex, ...) when its owner goes.
struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// An owned handle from a call that gives INVALID_HANDLE_VALUE (CreateFileW) or null
// (CreateMutexW) on failure: empty then.
inline OwnedHandle ownHandle(HANDLE handle) {
    return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Closes an open registry key.
struct KeyCloser {
    void operator()(HKEY key) const noexcept { ::RegCloseKey(key); }
};
using OwnedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace somnar::win32
