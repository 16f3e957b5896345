#include "platform/win32/windows_program_starter.h"

#include "platform/win32/system_error_text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <cwctype>
#include <optional>

namespace somnar {

namespace {

struct Invocation {
    std::wstring program;
    std::wstring arguments;
};

constexpr const wchar_t* kBlanks = L" \t";

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool namesFolder(const std::wstring& program) {
    return program.find_first_of(L"\\/:") != std::wstring::npos;
}

bool looksLikeProgram(const std::wstring& words) {
    const auto dot = words.find_last_of(L'.');
    if (dot == std::wstring::npos) {
        return false;
    }
    std::wstring extension = words.substr(dot);
    for (wchar_t& c : extension) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return extension == L".exe" || extension == L".bat" || extension == L".cmd" ||
           extension == L".com";
}

// The program and its arguments; nothing when a quote is left open.
std::optional<Invocation> split(const std::wstring& line) {
    if (isFile(line)) {
        return Invocation{line, {}};
    }
    if (line.front() == L'"') {
        const auto closing = line.find(L'"', 1);
        if (closing == std::wstring::npos) {
            return std::nullopt;
        }
        return Invocation{line.substr(1, closing - 1), trimmed(line.substr(closing + 1))};
    }
    for (auto blank = line.find_first_of(kBlanks); blank != std::wstring::npos;
         blank = line.find_first_of(kBlanks, blank + 1)) {
        const std::wstring words = line.substr(0, blank);
        if (namesFolder(words) && (isFile(words) || isFile(words + L".exe"))) {
            return Invocation{words, trimmed(line.substr(blank))};
        }
    }
    // Nothing there: up to the first word that looks like a program, else the first word,
    // so the message names the file that is missing.
    auto end = line.find_first_of(kBlanks);
    for (auto blank = end; blank != std::wstring::npos;
         blank = line.find_first_of(kBlanks, blank + 1)) {
        if (looksLikeProgram(line.substr(0, blank))) {
            end = blank;
            break;
        }
    }
    if (end == std::wstring::npos) {
        return Invocation{line, {}};
    }
    return Invocation{line.substr(0, end), trimmed(line.substr(end))};
}

StartResult refused(StartError error, const std::wstring& detail, DWORD systemError = 0) {
    return {error, win32::narrow(detail),
            systemError == 0 ? std::string() : win32::systemMessage(systemError)};
}

StartError errorFor(DWORD error, const std::wstring& program) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return namesFolder(program) ? StartError::NoSuchFile : StartError::NotFound;
        case ERROR_NO_ASSOCIATION:
        case ERROR_BAD_EXE_FORMAT:
            return StartError::NotExecutable;
        default:
            return StartError::Failed;
    }
}

}  // namespace

StartResult WindowsProgramStarter::startDetached(const std::string& commandLine) {
    const std::wstring line = trimmed(win32::widen(commandLine));
    if (line.empty()) {
        return refused(StartError::NoProgram, {});
    }
    const auto invocation = split(line);
    if (!invocation) {
        return refused(StartError::Unreadable, line);
    }
    if (invocation->program.empty()) {
        return refused(StartError::NoProgram, {});
    }
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    // No message box of its own: the failure is the caller's to tell. A console program
    // shares the console of a caller that has one (the check, a test) and gets a window of
    // its own otherwise (the window program has none).
    start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_NO_CONSOLE;
    start.lpFile = invocation->program.c_str();
    start.lpParameters = invocation->arguments.empty() ? nullptr : invocation->arguments.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&start)) {
        const DWORD error = ::GetLastError();
        return refused(errorFor(error, invocation->program), invocation->program, error);
    }
    return {};
}

}  // namespace somnar
