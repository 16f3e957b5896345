#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// The system's own words for an error number (FormatMessageW, in the user's language),
// with the number after them: "Das System kann die angegebene Datei nicht finden. (2)".
// The number alone when Windows has no words for it.
std::string systemMessage(DWORD error);

}  // namespace somnar::win32
