#pragma once

// What the backend tests share (and the headers they all use): temporary folders and
// variables, helper processes, a private D-Bus with the stand-ins of tests/peers, and a
// loopback FTP server.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "scoped_env.h"

namespace somnar {
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;
}  // namespace somnar

namespace somnar::test {

struct TempDir {
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "somnar-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path path_;
};

// A helper process whose standard output the test reads line by line (its standard error
// goes nowhere when `quiet`); killed when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(std::vector<std::string> argv, bool quiet = false) {
        std::vector<char*> args;
        for (std::string& arg : argv) {
            args.push_back(arg.data());
        }
        args.push_back(nullptr);
        int ends[2] = {-1, -1};
        if (::pipe2(ends, O_CLOEXEC) == 0 && (pid_ = ::fork()) == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            if (quiet) {
                ::dup2(::open("/dev/null", O_WRONLY | O_CLOEXEC), STDERR_FILENO);
            }
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(ends[1]);
        output_ = ::fdopen(ends[0], "r");
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ != nullptr) {
            std::fclose(output_);
        }
    }
    // The next line it printed, without its end; nothing once it has ended.
    std::optional<std::string> readLine() {
        char line[512];
        if (output_ == nullptr || std::fgets(line, sizeof line, output_) == nullptr) {
            return std::nullopt;
        }
        return std::string(line, std::strcspn(line, "\n"));
    }

  private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
};

inline unsigned modeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

inline std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    return files;
}

inline std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> readLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Waits until the file holds `line`, for what a peer notes on its own time.
inline bool waitForLine(const fs::path& file, const std::string& line,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    for (const auto end = std::chrono::steady_clock::now() + timeout;
         std::chrono::steady_clock::now() < end;) {
        const auto lines = readLines(file);
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// What `run` returns (0 to 254) in a forked child, run as "nobody" when `nobody` and root;
// 255 when it could not become nobody or did not end by itself.
inline int inChild(const std::function<int()>& run, bool nobody = false) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool became =
            !nobody || ::geteuid() != 0 ||
            (::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0);
        std::_Exit(became ? run() : 255);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}
inline bool asNobody(const std::function<bool()>& check) {
    return inChild([&] { return check() ? 0 : 1; }, true) == 0;
}

// A bus daemon of our own for the system and the session bus, and the stand-ins a test
// starts on it; nothing reaches the machine's buses, and nothing is activated on ours.
class BusTest : public ::testing::Test {
  protected:
    BusTest() {
        const auto config = folder_.path() / "bus.conf";
        writeFile(config,
                  "<busconfig><type>session</type><listen>unix:path=" +
                      (folder_.path() / "socket").string() +
                      "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                      "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>");
        daemon_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/usr/bin/dbus-daemon", "--config-file=" + config.string(),
                                     "--nofork", "--nopidfile", "--print-address"},
            true);
        address_ = daemon_->readLine().value_or("");
        system_.emplace("DBUS_SYSTEM_BUS_ADDRESS", address_);
        session_.emplace("DBUS_SESSION_BUS_ADDRESS", address_);
    }
    void SetUp() override { ASSERT_NE(address_, "") << "dbus-daemon did not start"; }
    // Starts tests/peers/<script> with `args` and a fresh record; waits until it is READY.
    void startPeer(const std::string& script, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {SOMNAR_PYTHON, SOMNAR_TEST_PEERS_DIR "/" + script, "--address",
                                   address_, "--record", record(script).string()});
        peers_.erase(script);  // it would keep the name
        fs::remove(record(script));
        auto peer = std::make_unique<ChildProcess>(args);
        ASSERT_EQ(peer->readLine(), "READY") << script << " did not get ready";
        peers_[script] = std::move(peer);
    }
    fs::path record(const std::string& peer) const { return folder_.path() / (peer + ".jsonl"); }
    Lines calls(const std::string& peer) const { return readLines(record(peer)); }

    TempDir folder_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::optional<ScopedEnv> system_, session_;
    std::map<std::string, std::unique_ptr<ChildProcess>> peers_;
};

// tests/peers/ftp_server.py with a fresh home folder and `options` ("--host", "::1", ...);
// `address` as a user types it ("[::1]:<port>"), where nobody listens once it is gone.
struct FtpServer {
    static constexpr const char* kUser = "somnar";
    static constexpr const char* kPassword = "pa:ss wörd";

    explicit FtpServer(std::vector<std::string> options = {}) {
        const bool v6 = std::find(options.begin(), options.end(), "::1") != options.end();
        options.insert(options.begin(), {SOMNAR_PYTHON, SOMNAR_TEST_PEERS_DIR "/ftp_server.py",
                                         "--home", home.string(), "--user", kUser, "--password",
                                         kPassword, "--log", (folder.path() / "log").string()});
        fs::create_directory(home);
        process = std::make_unique<ChildProcess>(options, true);
        address = (v6 ? "[::1]:" : "127.0.0.1:") + process->readLine().value_or("PORT ?").substr(5);
    }
    // The commands received so far, in order ("USER somnar", "PASS ******", "CWD pub", ...).
    Lines commands() const { return readLines(folder.path() / "log"); }

    TempDir folder;
    fs::path home = folder.path() / "home";
    std::unique_ptr<ChildProcess> process;
    std::string address;
};

// A real FTP daemon of tests/peers/tls_ftp_server.py ("vsftpd", "proftpd", "pure-ftpd") with
// TLS "off", "optional" or "required", FtpServer's user and password, and `extraOptions`
// ("--relay", path, "--folder", "pub", ...); `caFile` is its certificate to trust, and
// `clientBytes()` what clients sent through `relayAddress` (with "--relay").
struct RealFtpServer {
    RealFtpServer(const std::string& kind, const std::string& tls,
                  std::vector<std::string> extraOptions = {}) {
        extraOptions.insert(
            extraOptions.begin(),
            {SOMNAR_PYTHON, SOMNAR_TEST_PEERS_DIR "/tls_ftp_server.py", "--kind", kind, "--tls",
             tls, "--home", home.string(), "--work", (folder.path() / "work").string(), "--user",
             FtpServer::kUser, "--password", FtpServer::kPassword});
        fs::permissions(folder.path(), fs::perms::others_exec,
                        fs::perm_options::add);  // nobody's way home
        const auto relay = std::find(extraOptions.begin(), extraOptions.end(), "--relay");
        relayLog = relay != extraOptions.end() && relay + 1 != extraOptions.end() ? relay[1] : "";
        process = std::make_unique<ChildProcess>(extraOptions, true);
        while (const auto line = process->readLine()) {
            const std::string value = line->substr(line->find(' ') + 1);
            if (line->starts_with("CA ")) {
                caFile = value;
            } else if (line->starts_with("RELAY ")) {
                relayAddress = "127.0.0.1:" + value;
            } else if (line->starts_with("PORT ")) {
                address = "127.0.0.1:" + value;
                break;
            }
        }
    }
    std::string clientBytes() const { return relayLog.empty() ? "" : contentOf(relayLog); }

    TempDir folder;
    fs::path home = folder.path() / "home";
    std::unique_ptr<ChildProcess> process;
    std::string address, relayAddress, caFile, relayLog;
};

}  // namespace somnar::test
