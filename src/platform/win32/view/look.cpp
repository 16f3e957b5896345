#include "platform/win32/view/look.h"

#include <cwchar>

#include "layout/geometry.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/wide_text.h"

namespace somnar::win32 {
namespace {

constexpr int kSmallIconPixels = 16;

int resourceFor(Picture picture) {
    switch (picture) {
        case Picture::HibernationSymbol:
            return SOMNAR_ICON_HIBERNATE;
        case Picture::StandbySymbol:
            return SOMNAR_ICON_STANDBY;
        case Picture::OpenIcon:
            return SOMNAR_ICON_OPEN;
        case Picture::InfoIcon:
            return SOMNAR_ICON_INFO;
        case Picture::None:
            break;
    }
    return 0;
}

}  // namespace

HFONT Look::windowFont() {
    // "MS Shell Dlg" is what dialogs use: the system maps it to its own dialog face. A
    // little under the usual 8 points, so the captions fit the places whatever face that
    // is (Wine's is wider than the one the places were laid out for).
    return fontFor(Font{"MS Shell Dlg", 7.5, false});
}

HFONT Look::fontFor(const Font& design) {
    for (const auto& [font, handle] : fonts_) {
        if (font == design) {
            return handle.get();
        }
    }
    return make(design);
}

HFONT Look::make(const Font& design) {
    LOGFONTW font{};
    font.lfHeight = fontHeight(design.sizePt, dpi_);
    font.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = widen(design.family);
    std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    fonts_.emplace_back(design, UniqueFont(::CreateFontIndirectW(&font)));
    return fonts_.back().second.get();
}

HICON Look::icon(Picture picture) {
    const int resource = resourceFor(picture);
    if (resource == 0) {
        return nullptr;
    }
    auto& held = icons_[picture];
    if (!held) {
        held = loadProgramIcon(resource, kSmallIconPixels * dpi_ / kStandardDpi);
    }
    return held.get();
}

UniqueIcon loadProgramIcon(int resourceId, int size) {
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace somnar::win32
