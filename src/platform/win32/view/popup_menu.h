#pragma once

#include "app/control_registry.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// Opens a model menu's entries as a pop-up menu at the mouse and returns once the user
// chose one (its handler has run) or dismissed it. Built afresh each time from what the
// entries say now: hidden entries are left out, disabled ones greyed.
void popUpMenu(HWND owner, const ControlRegistry& controls, const Control& menu);

}  // namespace somnar::win32
