#include "platform/linux/dialup_dialler.h"

#include "platform/linux/ppp_peers.h"
#include "platform/linux/unique_fd.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string_view>
#include <utility>
#include <vector>

namespace somnar {

namespace {

// The descriptor number at which the dialler finds what we hand it.
constexpr int kInheritedFd = 3;

DialResult failure(DialError error, std::string detail = {}) {
    return {error, std::move(detail), {}};
}

// failChild(), closeFrom() and execWithOnly() run in a child of a possibly many-threaded
// process: only async-signal-safe calls, nothing that allocates.

// Tells the waiting parent why, and ends the child.
[[noreturn]] void failChild(int errorFd) {
    const int error = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(errorFd, &error, sizeof error);
    ::_exit(127);
}

void closeFrom(int first) {
    if (::close_range(static_cast<unsigned>(first), ~0U, 0) == 0) {
        return;
    }
    // Kernels before 5.9: one by one, up to the limit of descriptors.
    constexpr rlim_t kAtMost = 1 << 20;
    rlimit limit{};
    const auto end = static_cast<int>(
        ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? std::min(limit.rlim_cur, kAtMost) : kAtMost);
    for (int fd = first; fd < end; ++fd) {
        ::close(fd);
    }
}

// Runs the program with descriptors 0 to 2, `inherited` (when valid) at kInheritedFd, and
// nothing else; `errorFd` goes at the exec.
[[noreturn]] void execWithOnly(const char* path, char* const argv[], int inherited, int errorFd) {
    // Out of the way of the numbers handed out below.
    const int error = ::fcntl(errorFd, F_DUPFD_CLOEXEC, kInheritedFd + 2);
    if (error < 0) {
        failChild(errorFd);
    }
    int next = kInheritedFd;
    if (inherited >= 0) {
        // dup2() onto itself would keep close-on-exec.
        const int placed = inherited == next ? ::fcntl(next, F_SETFD, 0) : ::dup2(inherited, next);
        if (placed < 0) {
            failChild(error);
        }
        ++next;
    }
    if (::dup3(error, next, O_CLOEXEC) < 0) {
        failChild(error);
    }
    closeFrom(next + 1);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::execve(path, argv, environ);
    failChild(next);
}

// Without a shell, so a name with blanks or quotes stays one argument. The program runs in a
// session of its own as the child of a child that ends at once, so it is not ours: it neither
// becomes our zombie nor ends with us. True once it runs.
bool startDetached(std::string program, std::vector<std::string> arguments,
                   const UniqueFd& inherited = {}) {
    std::vector<char*> argv = {program.data()};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    const UniqueFd errorRead(ends[0]);
    UniqueFd errorWrite(ends[1]);
    const pid_t middle = ::fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            execWithOnly(program.c_str(), argv.data(), inherited.get(), errorWrite.get());
        }
        if (grandchild < 0) {
            failChild(errorWrite.get());
        }
        ::_exit(0);
    }
    errorWrite.reset();
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    // Nothing but the end of the pipe: the exec closed it.
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(errorRead.get(), &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

std::string findProgram(const char* name) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    return found.isEmpty() ? std::string() : QFile::encodeName(found).toStdString();
}

// pppd's values end at a NUL; a line break is not taken either.
bool pppdCanTake(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// A word of pppd's option syntax: in double quotes, with a backslash before '"' and '\'.
std::string pppdWord(std::string_view value) {
    std::string word = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') {
            word += '\\';
        }
        word += c;
    }
    return word + '"';
}

// A pipe that holds all of `text` and has no writer left: a reader gets the text and then
// the end of the file, without waiting. Invalid when the text does not fit.
UniqueFd pipeHolding(std::string_view text) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    UniqueFd readEnd(ends[0]);
    const UniqueFd writeEnd(ends[1]);
    if (::fcntl(writeEnd.get(), F_SETFL, O_NONBLOCK) != 0) {
        return {};
    }
    while (!text.empty()) {
        const ssize_t written = ::write(writeEnd.get(), text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return {};
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return readEnd;
}

}  // namespace

DialResult startPon(const std::string& peer, const std::string& user, const std::string& password) {
    if (!ponCanDial(peer)) {
        return failure(DialError::NameNotDialable, peer);
    }
    if (!pppdCanTake(user) || !pppdCanTake(password)) {
        return failure(DialError::UnusableCredentials);
    }
    const std::string pon = findProgram("pon");
    if (pon.empty()) {
        return failure(DialError::PppMissing);
    }
    std::vector<std::string> arguments = {peer};
    UniqueFd options;
    if (!user.empty() || !password.empty()) {
        std::string text;
        if (!user.empty()) {
            text += "user " + pppdWord(user) + "\n";
        }
        if (!password.empty()) {
            text += "password " + pppdWord(password) + "\n";
        }
        options = pipeHolding(text);
        if (!options.valid()) {
            return failure(DialError::CredentialsNotHandedOver);
        }
        arguments.insert(arguments.end(), {"file", "/dev/fd/" + std::to_string(kInheritedFd)});
    }
    if (!startDetached(pon, std::move(arguments), options)) {
        return failure(DialError::PppMissing);
    }
    return {};
}

DialResult startNmcli(const std::string& connectionId) {
    const std::string nmcli = findProgram("nmcli");
    if (nmcli.empty() || !startDetached(nmcli, {"connection", "up", "id", connectionId})) {
        return failure(DialError::NetworkManagerMissing);
    }
    return {};
}

}  // namespace somnar
