#pragma once

// What the backend tests share (and the headers they all use): temporary folders and
// variables, helper processes, a private D-Bus with the stand-in services of tests/peers,
// and a loopback FTP server.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace somnar::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempDir {
    TempDir();
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object, then restores it.
struct ScopedEnv {
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    std::string name_;
    std::optional<std::string> previous_;
};

// A helper process whose standard output the test reads line by line (its standard error
// goes to `errorLog` when given); killed when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& argv, const std::string& errorLog = {});
    ~ChildProcess();
    // The next line it printed, without its end; nothing once it has ended.
    std::optional<std::string> readLine();

  private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
};

// The permission bits of a file (0 when it does not exist); the regular files below a
// folder, relative to it.
unsigned modeOf(const std::filesystem::path& file);
std::vector<std::string> filesIn(const std::filesystem::path& folder);
// All bytes of a file, or its lines; empty when it does not exist.
std::string contentOf(const std::filesystem::path& file);
std::vector<std::string> readLines(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// Waits until the file holds `line`, for what a peer notes on its own time.
bool waitForLine(const std::filesystem::path& file, const std::string& line,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Runs `check` in a forked child as the user "nobody" (when root; else here). True when it
// says yes there.
bool asNobody(const std::function<bool()>& check);
// What a shell command prints on standard output.
std::string commandOutput(const std::string& command);

// A bus daemon of our own standing in for the system and the session bus, and the stand-ins
// a test starts on it, each noting every call as one JSON line in its own record. Nothing
// reaches the machine's buses, and nothing is activated on ours.
class BusTest : public ::testing::Test {
  protected:
    BusTest();
    void SetUp() override { ASSERT_NE(address_, "") << "dbus-daemon did not start"; }
    // Starts tests/peers/<script> on the bus with `args` and waits until it is READY.
    void startPeer(const std::string& script, std::vector<std::string> args = {});
    std::filesystem::path record(const std::string& script) const {
        return folder_.path() / (script + ".jsonl");
    }
    std::vector<std::string> calls(const std::string& script) const {
        return readLines(record(script));
    }
    // A bus address where no bus is.
    std::string noBus() const { return "unix:path=" + (folder_.path() / "no-bus").string(); }

    TempDir folder_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::optional<ScopedEnv> system_, session_;
    std::map<std::string, std::unique_ptr<ChildProcess>> peers_;
};

// tests/peers/ftp_server.py on a loopback port of the system's choosing with a fresh home
// folder; `options` as the server takes them ("--folder", "pub", "--host", "::1", ...).
// `address` as a user would type it: "127.0.0.1:<port>" or "[::1]:<port>"; nobody listens
// there once the object is gone.
struct FtpServer {
    static constexpr const char* kUser = "somnar";
    static constexpr const char* kPassword = "pa:ss wörd";

    explicit FtpServer(const std::vector<std::string>& options = {});
    // The commands received so far, in order ("USER somnar", "PASS ******", "CWD pub", ...).
    std::vector<std::string> commands() const;

    TempDir folder;
    std::filesystem::path home = folder.path() / "home";
    std::unique_ptr<ChildProcess> process;
    std::string address;
};

}  // namespace somnar::test
