#pragma once

#include "platform/program_starter.h"

namespace somnar {

// Starts programs detached (QProcess::startDetached): the program is not our child, so it
// neither stays behind as a zombie nor ends with us.
//
// A command line that names an existing file as a whole is that file, blanks and all,
// started without arguments. Otherwise it is split into the program and its arguments as
// the shell splits words (quotes, backslashes, $VARIABLES, ~), though without pipes,
// redirections or command substitution; a program without a slash is looked up in PATH.
// A file that is not executable still runs when it is a script: through the interpreter
// of its "#!" line, or through /bin/sh when its name ends in ".sh".
class LinuxProgramStarter : public ProgramStarter {
  public:
    StartResult startDetached(const std::string& commandLine) override;
};

}  // namespace somnar
