#pragma once

// The one way into <windows.h> for the Windows backends and window: it defines names
// such as MessageBox, CreateWindow or GetMessage as macros, which would silently rename
// the program's own functions of those names. Never include this from the logic.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef MessageBox
#undef CreateWindow
#undef GetMessage
#undef DrawText
#undef LoadIcon
