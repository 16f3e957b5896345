#include "backends/test_environment.h"

#include <signal.h>
#include <spawn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

extern char** environ;

namespace somnar::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "somnar-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) {
        previous_ = old;
    }
    ::setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    previous_ ? ::setenv(name_.c_str(), previous_->c_str(), 1) : ::unsetenv(name_.c_str());
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& errorLog) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    if (!errorLog.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(),
                                           O_WRONLY | O_CREAT | O_APPEND, 0644);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    if (::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
        pid_ = -1;
    }
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    output_ = ::fdopen(ends[0], "r");
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) {
        std::fclose(output_);
    }
}

std::optional<std::string> ChildProcess::readLine() {
    char line[512];
    if (output_ == nullptr || std::fgets(line, sizeof line, output_) == nullptr) {
        return std::nullopt;
    }
    return std::string(line, std::strcspn(line, "\n"));
}

unsigned modeOf(const std::filesystem::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(std::filesystem::relative(entry.path(), folder).string());
        }
    }
    return files;
}

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> readLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

bool waitForLine(const std::filesystem::path& file, const std::string& line,
                 std::chrono::milliseconds timeout) {
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

bool asNobody(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool became =
            ::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0;
        std::_Exit(became && check() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string commandOutput(const std::string& command) {
    ChildProcess shell({"/bin/sh", "-c", command});
    std::string output;
    while (const auto line = shell.readLine()) {
        output += *line + "\n";
    }
    return output;
}

BusTest::BusTest() {
    const auto config = folder_.path() / "bus.conf";
    writeFile(config, "<busconfig><type>session</type><listen>unix:path=" +
                          (folder_.path() / "socket").string() +
                          "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                          "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>");
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--config-file=" + config.string(),
                                 "--nofork", "--nopidfile", "--print-address"},
        (folder_.path() / "bus.log").string());
    address_ = daemon_->readLine().value_or("");
    system_.emplace("DBUS_SYSTEM_BUS_ADDRESS", address_);
    session_.emplace("DBUS_SESSION_BUS_ADDRESS", address_);
}

void BusTest::startPeer(const std::string& script, std::vector<std::string> args) {
    args.insert(args.begin(), {SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/" + script,
                               "--address", address_, "--record", record(script).string()});
    peers_.erase(script);  // it would keep the name
    auto peer = std::make_unique<ChildProcess>(args);
    ASSERT_EQ(peer->readLine(), "READY") << script << " did not get ready";
    peers_[script] = std::move(peer);
}

FtpServer::FtpServer(const std::vector<std::string>& options) {
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/ftp_server.py",
        "--home",      home.string(),
        "--user",      kUser,
        "--password",  kPassword};
    argv.insert(argv.end(), options.begin(), options.end());
    std::filesystem::create_directory(home);
    process = std::make_unique<ChildProcess>(argv, (folder.path() / "log").string());
    const bool v6 = std::find(options.begin(), options.end(), "::1") != options.end();
    address = (v6 ? "[::1]:" : "127.0.0.1:") + process->readLine().value_or("PORT ?").substr(5);
}

std::vector<std::string> FtpServer::commands() const {
    // pyftpdlib logs "<client>-[<user>] <- <command>".
    std::vector<std::string> received;
    for (const std::string& line : readLines(folder.path() / "log")) {
        if (const auto at = line.find("] <- "); at != std::string::npos) {
            received.push_back(line.substr(at + 5));
        }
    }
    return received;
}

}  // namespace somnar::test
