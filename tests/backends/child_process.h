#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace somnar::test {

// A helper process of a test (bus daemon, stand-in service) whose output the test reads
// line by line. Ended when the object goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] (a full path) with the remaining arguments; its standard output goes
    // to a pipe, its standard error to `errorLog` when given, else to ours. False when it
    // cannot be started.
    bool start(const std::vector<std::string>& argv, const std::string& errorLog = {});

    // The next line it printed, without the line end; nothing when it ends first or
    // prints no full line within `timeout`.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    // Asks it to end, and kills it when it does not within a few seconds.
    void stop();

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

}  // namespace somnar::test
