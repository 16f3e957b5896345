#include "backends/test_environment.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace somnar::test {

using namespace std::chrono_literals;

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "somnar-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
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
    output_ = ends[0];
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        char buffer[512];
        if (left <= 0ms || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        const ssize_t got = ::read(output_, buffer, sizeof buffer);
        if (got <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

void ChildProcess::stop() {
    if (output_ >= 0) {
        ::close(output_);
        output_ = -1;
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        for (int i = 0; ::waitpid(pid_, nullptr, WNOHANG) == 0; ++i) {
            if (i == 300) {
                ::kill(pid_, SIGKILL);
            }
            std::this_thread::sleep_for(10ms);
        }
        pid_ = -1;
    }
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
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto lines = readLines(file);
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
}

bool asNobody(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        constexpr uid_t kNobody = 65534;
        const bool became = ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                            ::setresuid(kNobody, kNobody, kNobody) == 0;
        std::_Exit(became && check() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

PrivateBus::PrivateBus(BusKind kind) {
    const auto config = folder_.path() / "bus.conf";
    writeFile(
        config,
        "<busconfig><type>session</type><listen>unix:path=" + (folder_.path() / "socket").string() +
            "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
            "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/>"
            "</policy></busconfig>\n");
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--config-file=" + config.string(),
                                 "--nofork", "--nopidfile", "--print-address"},
        (folder_.path() / "bus.log").string());
    const auto printed = daemon_->readLine(15s);
    if (printed && printed->starts_with("unix:")) {
        address_ = *printed;
        variable_.emplace(
            kind == BusKind::System ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS",
            address_);
    }
}

void BusTest::SetUp() {
    ASSERT_FALSE(system_.address().empty() || session_.address().empty())
        << "dbus-daemon did not start";
}

void BusTest::startPeer(const std::string& script, std::vector<std::string> args, BusKind kind) {
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/" + script,
        "--address",   (kind == BusKind::System ? system_ : session_).address(),
        "--record",    record(script).string()};
    argv.insert(argv.end(), args.begin(), args.end());
    peers_.erase(script);  // it would keep the name
    auto peer = std::make_unique<ChildProcess>(argv);
    ASSERT_EQ(peer->readLine(15s), "READY") << script << " did not get ready";
    peers_[script] = std::move(peer);
}

FtpServer::FtpServer(const std::vector<std::string>& options) {
    std::filesystem::create_directory(home_);
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/ftp_server.py",
        "--home",      home_.string(),
        "--user",      kUser,
        "--password",  kPassword};
    argv.insert(argv.end(), options.begin(), options.end());
    if (std::find(options.begin(), options.end(), "::1") != options.end()) {
        host_ = "[::1]";
    }
    process_ = std::make_unique<ChildProcess>(argv, (folder_.path() / "log").string());
    const auto line = process_->readLine(15s);
    if (!line || std::sscanf(line->c_str(), "PORT %u", &port_) != 1) {
        port_ = 0;
    }
}

std::string FtpServer::address() const {
    return host_ + ":" + std::to_string(port_);
}

std::vector<std::string> FtpServer::commands() const {
    // pyftpdlib logs "<client>-[<user>] <- <command>".
    std::vector<std::string> received;
    for (const std::string& line : readLines(folder_.path() / "log")) {
        if (const auto at = line.find("] <- "); at != std::string::npos) {
            received.push_back(line.substr(at + 5));
        }
    }
    return received;
}

unsigned closedLoopbackPort() {
    // Bound to find a free port, then closed.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    ::close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

}  // namespace somnar::test
