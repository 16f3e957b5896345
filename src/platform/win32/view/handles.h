#pragma once

// Owning wrappers for the window system's handles: each is given back exactly once.

#include <memory>
#include <type_traits>

#include "platform/win32/windows_api.h"

namespace somnar::win32 {

struct WindowCloser {
    void operator()(HWND window) const { ::DestroyWindow(window); }
};
struct GdiObjectCloser {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct IconCloser {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct MenuCloser {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectCloser>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectCloser>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconCloser>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

}  // namespace somnar::win32
