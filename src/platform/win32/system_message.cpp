#include "platform/win32/system_message.h"

#include <memory>

#include "platform/win32/wide_text.h"

namespace somnar::win32 {

namespace {

struct LocalFreer {
    void operator()(wchar_t* text) const noexcept { ::LocalFree(text); }
};

}  // namespace

std::string systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owned(buffer);
    std::wstring words(owned ? std::wstring(owned.get(), length) : std::wstring());
    // The message ends in a line break, which a sentence around it does not want.
    while (!words.empty() &&
           (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) {
        words.pop_back();
    }
    const std::string number = "(" + std::to_string(error) + ")";
    return words.empty() ? number : narrow(words) + " " + number;
}

}  // namespace somnar::win32
