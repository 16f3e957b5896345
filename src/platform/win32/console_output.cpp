#include "platform/win32/console_output.h"

#include <iostream>

#include "platform/win32/wide_text.h"

namespace somnar::win32 {
namespace {

// How many bytes at the end of `text` begin a UTF-8 sequence that has not ended yet.
std::size_t unfinishedTail(const std::string& text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0U) != 0x80U) {  // a lead byte or ASCII
            const std::size_t length = byte >= 0xF0U   ? 4
                                       : byte >= 0xE0U ? 3
                                       : byte >= 0xC0U ? 2
                                                       : 1;
            return length > back ? back : 0;
        }
    }
    return 0;
}

}  // namespace

ConsoleOutput::ConsoleOutput(HANDLE target) : target_(target) {
    DWORD mode = 0;
    console_ = target != nullptr && ::GetConsoleMode(target, &mode) != 0;
}

ConsoleOutput::~ConsoleOutput() {
    write(pending_.size());
}

ConsoleOutput::int_type ConsoleOutput::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    const char text = traits_type::to_char_type(character);
    return xsputn(&text, 1) == 1 ? character : traits_type::eof();
}

std::streamsize ConsoleOutput::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    const std::size_t lineEnd = pending_.rfind('\n');
    if (lineEnd != std::string::npos && !write(lineEnd + 1)) {
        return 0;
    }
    return count;
}

int ConsoleOutput::sync() {
    return write(pending_.size() - unfinishedTail(pending_)) ? 0 : -1;
}

bool ConsoleOutput::write(std::size_t count) {
    const std::string bytes = pending_.substr(0, count);
    pending_.erase(0, count);
    if (bytes.empty() || target_ == nullptr || target_ == INVALID_HANDLE_VALUE) {
        return bytes.empty();
    }
    DWORD written = 0;
    if (console_) {
        const std::wstring text = widen(bytes);
        return ::WriteConsoleW(target_, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) != 0;
    }
    return ::WriteFile(target_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) != 0 &&
           written == bytes.size();
}

ConsoleStreams::ConsoleStreams(HANDLE out, HANDLE err)
    : out_(out),
      err_(err),
      previousOut_(std::cout.rdbuf(&out_)),
      previousErr_(std::cerr.rdbuf(&err_)) {}

ConsoleStreams::~ConsoleStreams() {
    std::cout.flush();
    std::cout.rdbuf(previousOut_);
    std::cerr.rdbuf(previousErr_);
}

}  // namespace somnar::win32
