#include "platform/win32/file_log.h"

#include <cstdio>
#include <utility>

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/windows_files.h"

namespace somnar {

namespace {

const char* levelName(LogLevel level) {
    switch (level) {
        case LogLevel::Info:
            return "info";
        case LogLevel::Warning:
            return "warning";
        case LogLevel::Error:
            break;
    }
    return "error";
}

std::string lineFor(LogLevel level, const std::string& text) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    std::string line = std::string(stamp) + levelName(level) + ' ';
    for (const char c : text) {
        line += c == '\r' || c == '\n' ? ' ' : c;
    }
    return line + "\r\n";
}

std::uint64_t sizeOf(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

FileLog::FileLog(std::wstring file) : file_(file.empty() ? defaultFile() : std::move(file)) {}

std::wstring FileLog::defaultFile() {
    const std::wstring base = localAppDataFolder();
    if (base.empty()) {
        return {};
    }
    return base + L"\\Somnar Scheduler\\somnar-scheduler.log";
}

void FileLog::write(LogLevel level, const std::string& text) {
    try {
        if (file_.empty()) {
            return;
        }
        const auto slash = file_.find_last_of(L"\\/");
        if (slash != std::wstring::npos) {
            ::CreateDirectoryW(file_.substr(0, slash).c_str(), nullptr);
        }
        if (sizeOf(file_) > kLimit) {
            ::MoveFileExW(file_.c_str(), (file_ + L".old").c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        // Appending as one write: two copies of the program never mix their lines.
        const win32::OwnedHandle file = win32::ownHandle(::CreateFileW(
            file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return;
        }
        const std::string line = lineFor(level, text);
        DWORD written = 0;
        ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (const std::exception&) {
        // Out of memory for a line: the record misses it, the program goes on.
    }
}

}  // namespace somnar
