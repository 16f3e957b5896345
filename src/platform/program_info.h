#pragma once

#include <string>

namespace somnar {

// Facts about the running program's own executable.
class ProgramInfo {
  public:
    virtual ~ProgramInfo() = default;

    // The executable's file name without folder and extension.
    virtual std::string programName() const = 0;
    // The executable's extension with its dot ("" where executables have none).
    virtual std::string executableExtension() const = 0;
    // The process's current folder.
    virtual std::string currentFolder() const = 0;
    // The folder that holds the executable.
    virtual std::string programFolder() const = 0;
    // The program field's first text: a sample script in a folder on the user's desktop,
    // written as paths are written on this system.
    virtual std::string sampleProgram() const = 0;
    // What the user types to see what this machine lacks for a wake-up.
    virtual std::string checkCommand() const = 0;
};

}  // namespace somnar
