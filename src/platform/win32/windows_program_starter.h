#pragma once

#include <string>

#include "platform/program_starter.h"

namespace somnar {

// Starts a program, batch file or document from its command line (ShellExecuteExW) in a
// normal window, without waiting for it.
//
// A command line that names an existing file as a whole is that file, blanks and all,
// without arguments. Otherwise the program is the quoted text at its start ("C:\Program
// Files\x.exe" /a), or the longest run of words up to a blank that names an existing
// file (C:\Program Files\x.exe /a, as Windows itself reads a command line), or the first
// word; the rest goes to the program as it stands: on Windows each program reads its own
// arguments. A name without a folder is looked up as Windows looks it up (the program's
// folder, the system folders, PATH, registered applications).
class WindowsProgramStarter final : public ProgramStarter {
  public:
    // systemError: the system's words and number ("... (2)").
    StartResult startDetached(const std::string& commandLine) override;
};

}  // namespace somnar
