#include "platform/win32/view/screen_reader_names.h"

#include <string>

#include "platform/win32/wide_text.h"

#include <oleacc.h>

namespace somnar::win32 {

void nameForScreenReaders(HWND control, std::string_view name) {
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    const std::wstring wide = widen(name);
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, wide.c_str());
    services->Release();
}

}  // namespace somnar::win32
