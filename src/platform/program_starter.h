#pragma once

#include <string>

namespace somnar {

struct StartResult {
    bool started = false;
    std::string reason;  // why not, for the user (German) and the log
};

// Starts a program or script from its command line, without waiting for it.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;

    virtual StartResult startDetached(const std::string& commandLine) = 0;
};

}  // namespace somnar
