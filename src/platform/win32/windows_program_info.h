#pragma once

#include <string>

#include "platform/program_info.h"

namespace somnar {

// Name, extension and folder of the running .exe (GetModuleFileNameW).
class WindowsProgramInfo final : public ProgramInfo {
  public:
    WindowsProgramInfo();

    // "somnar-scheduler" for C:\Programme\Somnar Scheduler\somnar-scheduler.exe.
    std::string programName() const override { return name_; }
    // ".exe".
    std::string executableExtension() const override { return extension_; }
    // The working folder; the program's folder when it cannot be told.
    std::string currentFolder() const override;
    // "C:\Programme\Somnar Scheduler", without a closing backslash (except "C:\").
    std::string programFolder() const override { return folder_; }
    // "aufwachen.bat" in the folder "Aufwachen-Ruhe" on the user's own desktop.
    std::string sampleProgram() const override;
    // The console companion (.com) beside the .exe, by its full path: the installed
    // program is not on PATH.
    std::string checkCommand() const override;

  private:
    std::string name_;
    std::string extension_;
    std::string folder_;
};

}  // namespace somnar
