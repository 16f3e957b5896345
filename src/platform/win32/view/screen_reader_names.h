#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// Gives a control the name screen readers read for it where its own text does not say
// it (a picker or text box named by the label beside it, a picture button). Needs COM on
// the thread; without the accessibility service the control keeps the name Windows finds.
void nameForScreenReaders(HWND control, std::string_view name);

}  // namespace somnar::win32
