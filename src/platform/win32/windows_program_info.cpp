#include "platform/win32/windows_program_info.h"

#include <filesystem>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/windows_files.h"

#include <shlobj.h>

namespace somnar {

namespace {

std::wstring executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);  // cut short: a long path
    }
}

}  // namespace

std::string WindowsProgramInfo::sampleProgram() const {
    std::wstring desktop = knownFolder(FOLDERID_Desktop);
    if (desktop.empty()) {
        desktop = L"C:\\Users\\benutzer\\Desktop";
    }
    return win32::narrow(desktop) + "\\Aufwachen-Ruhe\\aufwachen.bat";
}

std::string WindowsProgramInfo::checkCommand() const {
    return "\"" + folder_ + (folder_.ends_with('\\') ? "" : "\\") + name_ + ".com\" --check";
}

WindowsProgramInfo::WindowsProgramInfo() {
    const std::filesystem::path executable(executablePath());
    name_ = win32::narrow(executable.stem().wstring());
    extension_ = win32::narrow(executable.extension().wstring());
    folder_ = win32::narrow(executable.parent_path().wstring());
}

std::string WindowsProgramInfo::currentFolder() const {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed) {
        return folder_;
    }
    folder.resize(length);
    return win32::narrow(folder);
}

}  // namespace somnar
