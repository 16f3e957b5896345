#include "platform/curl/curl_ftp_client.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "platform/shared/ftp_server_address.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace somnar {
namespace {

// Sets options one after the other and keeps the first failure.
class Options {
  public:
    explicit Options(CURL* handle) : handle_(handle) {}

    template <typename Value>
    Options& set(CURLoption option, Value value) {
        if (result_ == CURLE_OK) {
            result_ = curl_easy_setopt(handle_, option, value);
        }
        return *this;
    }
    [[nodiscard]] CURLcode result() const { return result_; }

  private:
    CURL* handle_;
    CURLcode result_ = CURLE_OK;
};

FtpResult failed(CURLcode code) {
    return {false, static_cast<long>(code), {}};
}

CURLcode initLibrary() {
    static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
    return result;
}

// A line break would end the command and start another one of the caller's making; libcurl
// takes each value as a C string, which a NUL would cut short.
bool unsendable(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

// Unlike libcurl's own reader this tells a read error from the end of the file, so a
// failing disk cannot end in a cut-off file reported as stored.
size_t readFile(char* buffer, size_t size, size_t count, void* stream) {
    auto* file = static_cast<std::FILE*>(stream);
    const size_t got = std::fread(buffer, 1, size * count, file);
    if (got == 0 && std::ferror(file) != 0) {
        return CURL_READFUNC_ABORT;
    }
    return got;
}

// Paths are UTF-8; Windows' C library would read a narrow path in the ANSI code page, and
// miss a folder with an umlaut.
std::FILE* openForReading(const std::string& path) {
#ifdef _WIN32
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return nullptr;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, wide.data(), length);
    return _wfopen(wide.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

// The bytes of putBytes(), handed out from the front.
size_t readBytes(char* buffer, size_t size, size_t count, void* stream) {
    auto* rest = static_cast<std::string_view*>(stream);
    const size_t got = std::min(rest->size(), size * count);
    std::memcpy(buffer, rest->data(), got);
    rest->remove_prefix(got);
    return got;
}

std::string withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return std::string(line);
}

}  // namespace

CurlFtpClient::CurlFtpClient(std::chrono::seconds answerLimit, std::chrono::seconds stallLimit,
                             std::string trustedCertificates)
    : answerLimit_(answerLimit),
      stallLimit_(stallLimit),
      trustedCertificates_(std::move(trustedCertificates)) {}

FtpResult CurlFtpClient::open(const std::string& agent) {
    try {
        agent_ = agent;
        return makeHandle();
    } catch (const std::bad_alloc&) {
        return failed(CURLE_OUT_OF_MEMORY);
    }
}

FtpResult CurlFtpClient::makeHandle() {
    curl_.reset();  // says QUIT on a connection still open
    connected_ = false;
    used_ = false;
    if (const CURLcode init = initLibrary(); init != CURLE_OK) {
        return failed(init);
    }
    CurlEasy handle(curl_easy_init());
    if (!handle) {
        return failed(CURLE_FAILED_INIT);
    }
    const long answerSeconds = static_cast<long>(answerLimit_.count());
    Options options(handle.get());
    options.set(CURLOPT_USERAGENT, agent_.c_str())
        .set(CURLOPT_PROTOCOLS_STR, "ftp")
        .set(CURLOPT_NOSIGNAL, 1L)
        .set(CURLOPT_CONNECTTIMEOUT, answerSeconds)  // covers the login, too
        .set(CURLOPT_SERVER_RESPONSE_TIMEOUT, answerSeconds)
        .set(CURLOPT_ACCEPTTIMEOUT_MS, answerSeconds * 1000L)  // active mode's call back
        .set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        .set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(stallLimit_.count()))
        // Never a CWD of libcurl's own: the folder is the one changeDirectory() chose.
        .set(CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD))
        .set(CURLOPT_TRANSFERTEXT, 0L)
        .set(CURLOPT_SOCKOPTFUNCTION, &CurlFtpClient::onSocket)
        .set(CURLOPT_SOCKOPTDATA, static_cast<void*>(this))
        .set(CURLOPT_PREREQFUNCTION, &CurlFtpClient::onPrerequest)
        .set(CURLOPT_PREREQDATA, static_cast<void*>(this))
        .set(CURLOPT_HEADERFUNCTION, &CurlFtpClient::onReply)
        .set(CURLOPT_HEADERDATA, static_cast<void*>(this))
        .set(CURLOPT_ERRORBUFFER, libraryError_)
        // AUTH TLS before AUTH SSL; the certificate and the host name are verified.
        .set(CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS))
        .set(CURLOPT_SSL_VERIFYPEER, 1L)
        .set(CURLOPT_SSL_VERIFYHOST, 2L);
    if (!trustedCertificates_.empty()) {
        options.set(CURLOPT_CAINFO, trustedCertificates_.c_str());
    }
    if (options.result() != CURLE_OK) {
        return failed(options.result());
    }
    curl_ = std::move(handle);
    return {true, 0};
}

FtpResult CurlFtpClient::connect(const FtpLogin& login) {
    try {
        if (!curl_ || used_) {
            if (FtpResult made = makeHandle(); !made.ok) {
                return made;
            }
        }
        const auto address = parseFtpServer(login.server);
        if (!address) {
            return failed(CURLE_URL_MALFORMAT);
        }
        if (unsendable(login.user) || unsendable(login.password)) {
            return failed(CURLE_BAD_FUNCTION_ARGUMENT);
        }
        baseUrl_ = "ftp://" + urlHost(*address) + ":" + std::to_string(address->port) + "/";
        // "Try": TLS whenever the server accepts AUTH TLS; once accepted, a certificate that
        // does not verify ends the login before the password is sent.
        const long tls =
            login.encryption == FtpEncryption::Required ? CURLUSESSL_ALL : CURLUSESSL_TRY;
        const bool anonymous = login.user.empty();
        Options options(curl_.get());
        // No user name: libcurl's anonymous login.
        options.set(CURLOPT_URL, baseUrl_.c_str())
            .set(CURLOPT_NOBODY, 1L)
            .set(CURLOPT_USE_SSL, tls)
            .set(CURLOPT_USERNAME, anonymous ? nullptr : login.user.c_str())
            .set(CURLOPT_PASSWORD, anonymous ? nullptr : login.password.c_str())
            // "-": the address the control connection goes out from.
            .set(CURLOPT_FTPPORT, login.passive ? nullptr : "-");
        if (options.result() != CURLE_OK) {
            return failed(options.result());
        }
        FtpResult result = perform(false);
        connected_ = result.ok;
        return result;
    } catch (const std::bad_alloc&) {
        return failed(CURLE_OUT_OF_MEMORY);
    }
}

FtpResult CurlFtpClient::changeDirectory(const std::string& folder) {
    // The login's folder is where we are; a bare CWD fails on many servers.
    if (folder.empty() && curl_ && connected_) {
        return {true, 0, {}};
    }
    return commands({"CWD " + folder});
}

FtpResult CurlFtpClient::rename(const std::string& from, const std::string& to) {
    return commands({"RNFR " + from, "RNTO " + to});
}

FtpResult CurlFtpClient::remove(const std::string& name) {
    return commands({"DELE " + name});
}

FtpResult CurlFtpClient::commands(std::initializer_list<std::string> lines) {
    try {
        if (!curl_ || !connected_) {
            return failed(CURLE_FAILED_INIT);
        }
        CurlSlist list;
        for (const std::string& line : lines) {
            if (unsendable(line)) {
                return failed(CURLE_BAD_FUNCTION_ARGUMENT);
            }
            curl_slist* longer = curl_slist_append(list.get(), line.c_str());
            if (longer == nullptr) {
                return failed(CURLE_OUT_OF_MEMORY);
            }
            static_cast<void>(list.release());
            list.reset(longer);
        }
        Options options(curl_.get());
        options.set(CURLOPT_URL, baseUrl_.c_str())
            .set(CURLOPT_NOBODY, 1L)
            .set(CURLOPT_QUOTE, list.get());
        FtpResult result = options.result() == CURLE_OK ? perform(true) : failed(options.result());
        // The list goes with this step; no later step may send it again.
        curl_easy_setopt(curl_.get(), CURLOPT_QUOTE, static_cast<curl_slist*>(nullptr));
        return result;
    } catch (const std::bad_alloc&) {
        return failed(CURLE_OUT_OF_MEMORY);
    }
}

FtpResult CurlFtpClient::putFile(const std::string& localPath, const std::string& remoteName) {
    if (!curl_ || !connected_) {
        return failed(CURLE_FAILED_INIT);
    }
    // Checked here, so a missing file sends nothing and gets one code.
    UniqueFile file(openForReading(localPath));
    struct stat status {};
    if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
        return failed(CURLE_FILE_COULDNT_READ_FILE);
    }
    return store(remoteName, &readFile, file.get(), static_cast<curl_off_t>(status.st_size));
}

FtpResult CurlFtpClient::putBytes(const std::string& bytes, const std::string& remoteName) {
    std::string_view rest(bytes);
    return store(remoteName, &readBytes, &rest, static_cast<curl_off_t>(bytes.size()));
}

FtpResult CurlFtpClient::store(const std::string& remoteName, curl_read_callback read, void* source,
                               curl_off_t size) {
    try {
        if (!curl_ || !connected_) {
            return failed(CURLE_FAILED_INIT);
        }
        if (unsendable(remoteName)) {
            return failed(CURLE_BAD_FUNCTION_ARGUMENT);
        }
        // Escaped whole, so the name reaches STOR as given (libcurl decodes it again).
        CurlText name(
            curl_easy_escape(curl_.get(), remoteName.c_str(), static_cast<int>(remoteName.size())));
        if (!name) {
            return failed(CURLE_OUT_OF_MEMORY);
        }
        // Relative to the login's folder: with NOCWD, "STOR <name>" into the current one.
        const std::string url = baseUrl_ + name.get();
        Options options(curl_.get());
        options.set(CURLOPT_URL, url.c_str())
            .set(CURLOPT_NOBODY, 0L)
            .set(CURLOPT_UPLOAD, 1L)
            .set(CURLOPT_READFUNCTION, read)
            .set(CURLOPT_READDATA, source)
            .set(CURLOPT_INFILESIZE_LARGE, size);
        FtpResult result = options.result() == CURLE_OK ? perform(true) : failed(options.result());
        // The source goes on return; the handle must not keep pointing at it.
        curl_easy_setopt(curl_.get(), CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl_.get(), CURLOPT_READDATA, static_cast<void*>(nullptr));
        curl_easy_setopt(curl_.get(), CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
        return result;
    } catch (const std::bad_alloc&) {
        return failed(CURLE_OUT_OF_MEMORY);
    }
}

void CurlFtpClient::disconnect() {
    curl_.reset();
    connected_ = false;
    used_ = false;
}

FtpResult CurlFtpClient::perform(bool onLoginConnection) {
    used_ = true;
    newConnection_ = false;
    requireLoginConnection_ = onLoginConnection;
    lastReply_.clear();
    libraryError_[0] = '\0';
    const CURLcode result = curl_easy_perform(curl_.get());
    if (result == CURLE_OK) {
        return {true, 0, {}};
    }
    // A refused AUTH TLS where TLS is required: the refusal's line says why.
    if (result == CURLE_USE_SSL_FAILED) {
        return {false, static_cast<long>(result), lastReply_};
    }
    long reply = 0;
    if (curl_easy_getinfo(curl_.get(), CURLINFO_RESPONSE_CODE, &reply) == CURLE_OK &&
        reply >= 400) {
        return {false, reply, lastReply_};
    }
    // The buffer is read only on failure: libcurl may leave text there on success.
    std::string words = libraryError_[0] != '\0' ? withoutLineEnd(libraryError_)
                                                 : std::string(curl_easy_strerror(result));
    return {false, static_cast<long>(result), std::move(words)};
}

// libcurl hands every line the server answers here; a reply of several lines ends with
// the one that carries the code and a blank ("530 Login incorrect.").
size_t CurlFtpClient::onReply(char* text, size_t size, size_t count, void* self) {
    const std::string_view line(text, size * count);
    if (line.size() >= 4 && line[3] == ' ') {
        static_cast<CurlFtpClient*>(self)->lastReply_ = withoutLineEnd(line);
    }
    return size * count;
}

int CurlFtpClient::onSocket(void* self, curl_socket_t, curlsocktype purpose) {
    if (purpose == CURLSOCKTYPE_IPCXN) {
        static_cast<CurlFtpClient*>(self)->newConnection_ = true;
    }
    return CURL_SOCKOPT_OK;
}

// Runs once the connection for a transfer is ready, before its first command. A new
// control connection here means the login's one was lost: going on would store the file
// in the login folder instead of the one changeDirectory() chose.
int CurlFtpClient::onPrerequest(void* self, char*, char*, int, int) {
    const auto* client = static_cast<CurlFtpClient*>(self);
    return client->requireLoginConnection_ && client->newConnection_ ? CURL_PREREQFUNC_ABORT
                                                                     : CURL_PREREQFUNC_OK;
}

}  // namespace somnar
