#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace somnar::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Empty when it could not be made.
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A helper process (bus daemon, stand-in service, server) whose standard output the test
// reads line by line; its standard error goes to `errorLog` when given. Ended (SIGTERM,
// then SIGKILL) when the object goes.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& errorLog = {});
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid_ > 0; }
    // The next full line it printed; nothing when it ends first or `timeout` runs out.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    void stop();

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// All bytes of a file; empty when it does not exist.
std::string contentOf(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// The lines of a text file; empty when it does not exist.
std::vector<std::string> readLines(const std::filesystem::path& file);
// Waits until the file holds `line`, for what a peer notes on its own time.
bool waitForLine(const std::filesystem::path& file, const std::string& line,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Runs `check` in a forked child as the user "nobody" (root only: true when the test
// process is not root, and `check` runs here). True when it says yes there.
bool asNobody(const std::function<bool()>& check);
// What a shell command prints on standard output; empty when it cannot run.
std::string commandOutput(const std::string& command);

}  // namespace somnar::test
