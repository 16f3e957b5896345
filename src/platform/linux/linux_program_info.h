#pragma once

#include <filesystem>
#include <string>

#include "platform/program_info.h"

namespace somnar {

// Name and extension of the running executable, taken from /proc/self/exe, or from
// argv[0] where that link cannot be read.
class LinuxProgramInfo : public ProgramInfo {
  public:
    // argv0: the program's argv[0]. selfLink: the link to the running executable.
    explicit LinuxProgramInfo(const std::string& argv0 = {},
                              const std::filesystem::path& selfLink = "/proc/self/exe");

    // "somnar-scheduler" for /usr/bin/somnar-scheduler, "a" for ./a.out.
    std::string programName() const override { return name_; }
    // The file name's part from its last dot on ("" for "somnar-scheduler", ".out" for
    // "a.out"); a leading dot alone, as in ".hidden", starts no extension.
    std::string executableExtension() const override { return extension_; }
    // The working folder, "/" when it cannot be told (it was removed, say).
    std::string currentFolder() const override;
    // The folder of the running executable.
    std::string programFolder() const override;
    std::string sampleProgram() const override {
        return "/home/benutzer/Schreibtisch/Aufwachen-Ruhe/aufwachen.sh";
    }
    // The installed program is on PATH.
    std::string checkCommand() const override { return name_ + " --check"; }

  private:
    std::string name_;
    std::string extension_;
    std::string folder_;
};

}  // namespace somnar
