#pragma once

#include <string>

#include "platform/result.h"

namespace somnar {

enum class StartError {
    None,
    NoProgram,      // the command line names no program
    NeedsShell,     // it uses what only a shell understands (pipes, redirections, $( ))
    Unreadable,     // detail: the command line, which cannot be split (a quote left open)
    NotFound,       // detail: the program, found in no folder of PATH
    NoSuchFile,     // detail: the file named
    NotExecutable,  // detail: the file, neither executable nor a script
    Failed,         // detail: the program, which the system did not start
};

using StartResult = Outcome<StartError>;

// Starts a program or script from its command line, without waiting for it.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;

    virtual StartResult startDetached(const std::string& commandLine) = 0;
};

}  // namespace somnar
