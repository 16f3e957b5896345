#pragma once

#include "platform/win32/windows_api.h"

#include <wininet.h>

#include <memory>
#include <type_traits>

namespace somnar::win32 {

// A WinINet handle (session, connection), closed with InternetCloseHandle; closing a
// connection says QUIT to the server.
struct InternetClose {
    void operator()(HINTERNET handle) const { ::InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, InternetClose>;

}  // namespace somnar::win32
