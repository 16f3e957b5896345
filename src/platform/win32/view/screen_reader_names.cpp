#include "platform/win32/view/screen_reader_names.h"

#include <string>

#include "platform/win32/wide_text.h"

#include <oleacc.h>

namespace somnar::win32 {

ScreenReaderNames::ScreenReaderNames() {
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
    }
}

ScreenReaderNames::~ScreenReaderNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

void ScreenReaderNames::name(HWND control, std::string_view name) {
    if (services_ == nullptr) {
        return;
    }
    const std::wstring wide = widen(name);
    services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              PROPID_ACC_NAME, wide.c_str());
}

}  // namespace somnar::win32
