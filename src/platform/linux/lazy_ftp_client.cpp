#include "platform/linux/lazy_ftp_client.h"

#include <dlfcn.h>

namespace somnar {
namespace {

// libcurl's own number for a client that could not be readied.
constexpr long kClientUnavailable = 2;

using Create = FtpClient* (*)();
using Destroy = void (*)(FtpClient*);

}  // namespace

struct LazyFtpClient::Module {
    void* handle = nullptr;
    Destroy destroy = nullptr;
    FtpClient* client = nullptr;

    ~Module() {
        if (client != nullptr && destroy != nullptr) {
            destroy(client);
        }
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
};

LazyFtpClient::LazyFtpClient(std::vector<std::string> modulePaths)
    : modulePaths_(std::move(modulePaths)) {}

LazyFtpClient::~LazyFtpClient() = default;

std::vector<std::string> LazyFtpClient::defaultModulePaths(const std::string& programFolder) {
    return {programFolder + "/somnar_ftp.so",
            programFolder + "/../lib/somnar-scheduler/somnar_ftp.so"};
}

bool LazyFtpClient::load() {
    if (module_) {
        return module_->client != nullptr;
    }
    module_ = std::make_unique<Module>();
    for (const std::string& path : modulePaths_) {
        module_->handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module_->handle != nullptr) {
            break;
        }
    }
    if (module_->handle == nullptr) {
        return false;
    }
    auto create = reinterpret_cast<Create>(dlsym(module_->handle, "somnar_create_ftp_client"));
    module_->destroy =
        reinterpret_cast<Destroy>(dlsym(module_->handle, "somnar_destroy_ftp_client"));
    if (create != nullptr && module_->destroy != nullptr) {
        module_->client = create();
    }
    return module_->client != nullptr;
}

FtpResult LazyFtpClient::open(const std::string& agent) {
    return forward([&](FtpClient& client) { return client.open(agent); });
}

FtpResult LazyFtpClient::connect(const FtpLogin& login) {
    return forward([&](FtpClient& client) { return client.connect(login); });
}

FtpResult LazyFtpClient::changeDirectory(const std::string& folder) {
    return forward([&](FtpClient& client) { return client.changeDirectory(folder); });
}

FtpResult LazyFtpClient::putFile(const std::string& localPath, const std::string& remoteName) {
    return forward([&](FtpClient& client) { return client.putFile(localPath, remoteName); });
}

FtpResult LazyFtpClient::putBytes(const std::string& bytes, const std::string& remoteName) {
    return forward([&](FtpClient& client) { return client.putBytes(bytes, remoteName); });
}

FtpResult LazyFtpClient::rename(const std::string& from, const std::string& to) {
    return forward([&](FtpClient& client) { return client.rename(from, to); });
}

FtpResult LazyFtpClient::remove(const std::string& name) {
    return forward([&](FtpClient& client) { return client.remove(name); });
}

FtpResult LazyFtpClient::forward(const std::function<FtpResult(FtpClient&)>& step) {
    if (!load()) {
        return {false, kClientUnavailable, "FTP-Modul somnar_ftp.so nicht gefunden"};
    }
    return step(*module_->client);
}

void LazyFtpClient::disconnect() {
    if (module_ && module_->client != nullptr) {
        module_->client->disconnect();
    }
}

}  // namespace somnar
