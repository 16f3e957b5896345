#pragma once

#include <string>

#include "platform/files.h"
#include "platform/win32/windows_api.h"

namespace somnar {

// Files and folders of a Windows user; paths are UTF-8 texts of the wide paths.
class WindowsFiles final : public Files {
  public:
    // folderName: this program's folder in the user's local application data.
    explicit WindowsFiles(std::string folderName = "Somnar Scheduler");

    // Tried by creating a file there that goes when closed: the folder's attributes say
    // nothing about its access rules (C:\Program Files for a user without rights).
    bool folderWritable(const std::string& folder) override;
    // <local application data>\<folder name> (%LOCALAPPDATA%), created when missing.
    std::string dataFolder() override;
    // Windows-1252, the single-byte code page of Western Windows ("€" is 0x80), each
    // character beyond it "?"; line ends stay as the text has them. Written to a new
    // file beside the target, flushed to the disk, then moved over the name.
    bool writeSingleByteText(const std::string& path, const std::string& utf8Text) override;

  private:
    std::string folderName_;
};

// The UTF-8 text in Windows-1252, composed first so that "u" + U+0308 becomes 0xFC; a
// character beyond the code page is one "?" (never a look-alike such as "a" for "ā").
std::string toWindows1252(const std::string& utf8Text);

// The user's local application data folder; empty when Windows does not name one.
std::wstring localAppDataFolder();
// A folder of the user's profile by its KNOWNFOLDERID; empty when Windows cannot tell it.
std::wstring knownFolder(const GUID& id, unsigned long flags = 0);

}  // namespace somnar
