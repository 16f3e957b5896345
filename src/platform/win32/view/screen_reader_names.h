#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

struct IAccPropServices;

namespace somnar::win32 {

// Gives controls the names screen readers read where their own text does not say it (a
// picker or text box named by the label beside it, a picture button). Needs COM on the
// thread; without the accessibility service the controls keep the names Windows finds.
class ScreenReaderNames {
  public:
    ScreenReaderNames();
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

    void name(HWND control, std::string_view name);

  private:
    IAccPropServices* services_ = nullptr;  // one for all controls: each creation costs
};

}  // namespace somnar::win32
