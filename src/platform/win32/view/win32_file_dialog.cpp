#include "platform/win32/view/win32_file_dialog.h"

#include "platform/win32/wide_text.h"

#include <commdlg.h>

namespace somnar::win32 {
namespace {

// Long paths are allowed: the buffer holds the longest path Windows knows.
constexpr std::size_t kPathBuffer = 32768;

}  // namespace

std::wstring filterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += widen(filter.caption);
        list += L'\0';
        for (std::size_t i = 0; i < filter.patterns.size(); ++i) {
            list += (i > 0 ? L";" : L"") + widen(filter.patterns[i]);
        }
        list += L'\0';
    }
    list += L'\0';
    return list;
}

ChosenFile splitChosenPath(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        return {"", narrow(path)};
    }
    return {narrow(path.substr(0, cut + 1)), narrow(path.substr(cut + 1))};
}

std::optional<ChosenFile> Win32FileDialog::askOpenFileName(const std::string& title,
                                                           const std::string& folder,
                                                           const std::vector<FileFilter>& filters) {
    std::wstring path(kPathBuffer, L'\0');
    const std::wstring types = filterList(filters);
    const std::wstring wideTitle = widen(title);
    const std::wstring wideFolder = widen(folder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = types.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    // The program's current folder stays where it was.
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    path.resize(path.find(L'\0'));
    return splitChosenPath(path);
}

}  // namespace somnar::win32
