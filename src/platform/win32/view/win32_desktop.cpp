#include "platform/win32/view/win32_desktop.h"

#include "layout/geometry.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {
namespace {

RECT workArea() {
    RECT area{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    return area;
}

}  // namespace

// The program is aware of each monitor's dpi, so Windows gives physical pixels.
int Win32Desktop::screenWidthTwips() const {
    const RECT area = workArea();
    return pixelsToTwips(area.right - area.left, static_cast<int>(::GetDpiForSystem()));
}

int Win32Desktop::screenHeightTwips() const {
    const RECT area = workArea();
    return pixelsToTwips(area.bottom - area.top, static_cast<int>(::GetDpiForSystem()));
}

}  // namespace somnar::win32
