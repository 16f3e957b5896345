#include "platform/win32/windows_files.h"

#include <climits>
#include <utility>

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shlobj.h>

namespace somnar {

namespace {

std::wstring composed(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX) {
        return text;
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::NormalizeString(NormalizationC, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return text;
    }
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    const int written =
        ::NormalizeString(NormalizationC, text.data(), length, result.data(), needed);
    if (written <= 0) {
        return text;
    }
    result.resize(static_cast<std::size_t>(written));
    return result;
}

// A surrogate pair is one character: one "?", not two.
std::wstring withoutSurrogatePairs(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
            result += L'?';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return bytes.size() <= MAXDWORD &&
           ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring folderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return L".";
    }
    return slash == 0 || (slash == 2 && path[1] == L':') ? path.substr(0, slash + 1)
                                                         : path.substr(0, slash);
}

}  // namespace

std::string toWindows1252(const std::string& utf8Text) {
    const std::wstring text = withoutSurrogatePairs(composed(win32::widen(utf8Text)));
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                             nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), needed,
                          "?", nullptr);
    return bytes;
}

std::wstring knownFolder(const GUID& id, unsigned long flags) {
    PWSTR folder = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, flags, nullptr, &folder))) {
        result = folder;
    }
    ::CoTaskMemFree(folder);  // also when the call failed
    return result;
}

std::wstring localAppDataFolder() {
    return knownFolder(FOLDERID_LocalAppData, KF_FLAG_CREATE);
}

WindowsFiles::WindowsFiles(std::string folderName) : folderName_(std::move(folderName)) {}

bool WindowsFiles::folderWritable(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    std::wstring probe = win32::widen(folder);
    if (probe.back() != L'\\' && probe.back() != L'/') {
        probe += L'\\';
    }
    probe += L".somnar-write-test-" + std::to_wstring(::GetCurrentProcessId());
    const win32::OwnedHandle file = win32::ownHandle(
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file != nullptr;
}

std::string WindowsFiles::dataFolder() {
    const std::wstring base = localAppDataFolder();
    if (base.empty() || folderName_.empty() ||
        folderName_.find_first_of("\\/:") != std::string::npos) {
        return {};
    }
    const std::wstring folder = base + L'\\' + win32::widen(folderName_);
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return {};
    }
    return win32::narrow(folder);
}

bool WindowsFiles::writeSingleByteText(const std::string& path, const std::string& utf8Text) {
    if (path.empty()) {
        return false;
    }
    const std::wstring target = win32::widen(path);
    std::wstring fresh(MAX_PATH + 1, L'\0');
    // Creates the new file, with a name of its own, beside the target.
    if (::GetTempFileNameW(folderOf(target).c_str(), L"som", 0, fresh.data()) == 0) {
        return false;
    }
    fresh.resize(fresh.find(L'\0'));
    bool written = false;
    {
        const win32::OwnedHandle file =
            win32::ownHandle(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr,
                                           TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        written =
            file && writeAll(file.get(), toWindows1252(utf8Text)) && ::FlushFileBuffers(file.get());
    }
    if (written && ::MoveFileExW(fresh.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    ::DeleteFileW(fresh.c_str());
    return false;
}

}  // namespace somnar
