#include "platform/win32/wininet_ftp_client.h"

#include "platform/shared/ftp_server_address.h"
#include "platform/win32/wide_text.h"

#include <condition_variable>
#include <cwctype>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace somnar::win32 {
namespace {

FtpResult failed(DWORD code) {
    return {false, static_cast<long>(code)};
}

// A line break would end the command and start another one of the caller's making; WinINet
// takes each value as a C string, which a NUL would cut short.
bool unsendable(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

// The code of the server's last reply line ("550 No such file"), 0 when there is none.
long lastReplyCode() {
    DWORD detail = 0;
    DWORD length = 0;
    ::InternetGetLastResponseInfoW(&detail, nullptr, &length);
    if (length == 0) {
        return 0;
    }
    std::vector<wchar_t> text(length + 1, L'\0');
    length = static_cast<DWORD>(text.size());
    if (!::InternetGetLastResponseInfoW(&detail, text.data(), &length)) {
        return 0;
    }
    long code = 0;
    std::wstring_view rest(text.data(), length);
    while (!rest.empty()) {
        const std::size_t end = rest.find(L'\n');
        const std::wstring_view line = rest.substr(0, end);
        // "530 ..." ends a reply; "530-..." goes on in the next line.
        if (line.size() >= 4 && std::iswdigit(line[0]) && std::iswdigit(line[1]) &&
            std::iswdigit(line[2]) && line[3] == L' ') {
            code = (line[0] - L'0') * 100 + (line[1] - L'0') * 10 + (line[2] - L'0');
        }
        rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    }
    return code;
}

// After a failed WinINet call: the server's refusal where it sent one, else WinINet's number.
FtpResult lastFailure() {
    const DWORD error = ::GetLastError();
    if (error == ERROR_INTERNET_EXTENDED_ERROR || error == ERROR_INTERNET_LOGIN_FAILURE) {
        if (const long reply = lastReplyCode(); reply >= 400 && reply < 600) {
            return {false, reply};
        }
    }
    return failed(error != 0 ? error : ERROR_INTERNET_INTERNAL_ERROR);
}

bool readable(const std::wstring& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open either.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

// WinINet's own time limits do not hold everywhere (a server that accepts the connection
// and never answers keeps Wine's WinINet waiting for ever): while a step runs, a watch
// closes its handle once the limit has passed, which ends the call with an error.
class Deadline {
  public:
    Deadline(HINTERNET handle, std::chrono::seconds limit)
        : watch_([this, handle, limit] {
              std::unique_lock lock(mutex_);
              if (!changed_.wait_for(lock, limit, [this] { return done_; })) {
                  passed_ = true;
                  ::InternetCloseHandle(handle);
              }
          }) {}
    ~Deadline() { finish(); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    // Ends the watch; true when the limit had passed and the handle is closed.
    bool finish() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        if (watch_.joinable()) {
            watch_.join();
        }
        return passed_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    bool passed_ = false;
    std::thread watch_;
};

}  // namespace

// Runs one blocking WinINet call under the answer limit, watched on `handle`, which the
// watch closes (and we then forget) when the limit passes.
template <typename Call>
FtpResult WinInetFtpClient::limited(InternetHandle& handle, Call call) {
    Deadline deadline(handle.get(), answerLimit_);
    const bool ok = call();
    const FtpResult result = ok ? FtpResult{true, 0} : lastFailure();
    if (deadline.finish()) {
        (void)handle.release();  // closed by the watch
        return failed(ERROR_INTERNET_TIMEOUT);
    }
    return result;
}

WinInetFtpClient::WinInetFtpClient(std::chrono::seconds answerLimit) : answerLimit_(answerLimit) {}

FtpResult WinInetFtpClient::open(const std::string& agent) {
    agent_ = widen(agent);
    return openSession();
}

FtpResult WinInetFtpClient::openSession() {
    connection_.reset();
    session_.reset();
    // The system's own proxy settings, as every other program of the user.
    InternetHandle session(
        ::InternetOpenW(agent_.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        return lastFailure();
    }
    // The connection inherits them from the session. One attempt per address, so that a
    // silent server fails within one limit.
    DWORD milliseconds = static_cast<DWORD>(answerLimit_.count() * 1000);
    DWORD attempts = 1;
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                               INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        if (!::InternetSetOptionW(session.get(), option, &milliseconds, sizeof milliseconds)) {
            return lastFailure();
        }
    }
    if (!::InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &attempts,
                              sizeof attempts)) {
        return lastFailure();
    }
    session_ = std::move(session);
    return {true, 0};
}

FtpResult WinInetFtpClient::connect(const std::string& server, const std::string& user,
                                    const std::string& password, bool passive) {
    connection_.reset();
    if (!session_) {
        if (const FtpResult opened = openSession(); !opened.ok) {
            return opened;
        }
    }
    const auto address = parseFtpServer(server);
    if (!address) {
        return failed(ERROR_INTERNET_INVALID_URL);
    }
    if (unsendable(user) || unsendable(password)) {
        return failed(ERROR_INVALID_PARAMETER);
    }
    const std::wstring host = widen(address->host);
    const std::wstring wideUser = widen(user);
    const std::wstring widePassword = widen(password);
    HINTERNET connection = nullptr;
    const FtpResult result = limited(session_, [&] {
        // No user name: WinINet's anonymous login.
        connection = ::InternetConnectW(
            session_.get(), host.c_str(), static_cast<INTERNET_PORT>(address->port),
            user.empty() ? nullptr : wideUser.c_str(),
            user.empty() ? nullptr : widePassword.c_str(), INTERNET_SERVICE_FTP,
            passive ? INTERNET_FLAG_PASSIVE : 0, 0);
        return connection != nullptr;
    });
    if (result.ok) {
        connection_.reset(connection);
    }
    return result;
}

FtpResult WinInetFtpClient::changeDirectory(const std::string& folder) {
    if (!connection_) {
        return failed(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    }
    // The login's folder is where we are; a bare CWD fails on many servers.
    if (folder.empty()) {
        return {true, 0};
    }
    if (unsendable(folder)) {
        return failed(ERROR_INVALID_PARAMETER);
    }
    return ::FtpSetCurrentDirectoryW(connection_.get(), widen(folder).c_str()) ? FtpResult{true, 0}
                                                                               : lastFailure();
}

FtpResult WinInetFtpClient::putFile(const std::string& localPath, const std::string& remoteName) {
    if (!connection_) {
        return failed(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    }
    if (unsendable(remoteName)) {
        return failed(ERROR_INVALID_PARAMETER);
    }
    // Checked here, so a missing file sends nothing and gets one code.
    const std::wstring local = widen(localPath);
    if (!readable(local)) {
        return failed(ERROR_OPEN_FAILED);
    }
    const std::wstring remote = widen(remoteName);
    return limited(connection_, [&] {
        return ::FtpPutFileW(connection_.get(), local.c_str(), remote.c_str(),
                             FTP_TRANSFER_TYPE_BINARY, 0) != FALSE;
    });
}

void WinInetFtpClient::disconnect() {
    connection_.reset();
}

}  // namespace somnar::win32
