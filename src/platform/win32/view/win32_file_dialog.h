#pragma once

#include <string>

#include "platform/file_dialog.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// The system's dialog for opening an existing file, owned by the main window.
class Win32FileDialog final : public FileDialog {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    std::optional<ChosenFile> askOpenFileName(const std::string& title, const std::string& folder,
                                              const std::vector<FileFilter>& filters) override;

  private:
    HWND owner_ = nullptr;
};

// The dialog's list of file types: caption, NUL, patterns joined by ";", NUL, ..., NUL.
std::wstring filterList(const std::vector<FileFilter>& filters);
// A chosen path split into its folder (with the trailing backslash) and the file name.
ChosenFile splitChosenPath(const std::wstring& path);

}  // namespace somnar::win32
