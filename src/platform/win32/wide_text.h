#pragma once

#include <string>
#include <string_view>

namespace somnar::win32 {

// Text crosses the seams as UTF-8; the wide Win32 functions take UTF-16. Bytes that are
// not UTF-8 become U+FFFD, as Windows itself converts them.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace somnar::win32
