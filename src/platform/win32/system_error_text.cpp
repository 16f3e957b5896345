#include "platform/win32/system_error_text.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <memory>
#include <string>

namespace somnar::win32 {
namespace {

struct LocalFreeText {
    void operator()(wchar_t* text) const { ::LocalFree(text); }
};

}  // namespace

std::string systemErrorText(unsigned long error, const wchar_t* module) {
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                  FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    HMODULE library = nullptr;
    if (module != nullptr) {
        // Only looked at, never loaded here: the caller has it loaded already.
        library = ::GetModuleHandleW(module);
        if (library != nullptr) {
            flags |= FORMAT_MESSAGE_FROM_HMODULE;
        }
    }
    wchar_t* raw = nullptr;
    const DWORD length =
        ::FormatMessageW(flags, library, error, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeText> text(raw);
    if (length == 0 || !text) {
        return std::to_string(error);
    }
    std::wstring_view words(text.get(), length);
    // MAX_WIDTH_MASK leaves a blank where the line break was.
    while (!words.empty() &&
           (words.back() == L' ' || words.back() == L'\r' || words.back() == L'\n')) {
        words.remove_suffix(1);
    }
    return narrow(words);
}

std::string systemMessage(unsigned long error) {
    const std::string number = std::to_string(error);
    const std::string words = systemErrorText(error);
    return words == number ? "(" + number + ")" : words + " (" + number + ")";
}

}  // namespace somnar::win32
