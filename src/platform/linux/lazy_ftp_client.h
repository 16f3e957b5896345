#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ftp_client.h"

namespace somnar {

// Loads the FTP module (and with it the FTP client library) at the first upload, not at
// start-up, and hands every step to the client it provides.
class LazyFtpClient final : public FtpClient {
  public:
    // Where to look for the module, in order.
    explicit LazyFtpClient(std::vector<std::string> modulePaths);
    ~LazyFtpClient() override;
    LazyFtpClient(const LazyFtpClient&) = delete;
    LazyFtpClient& operator=(const LazyFtpClient&) = delete;

    // The places of the module for a program in the given folder: beside it (a build),
    // then in ../lib/somnar-scheduler (an installation).
    static std::vector<std::string> defaultModulePaths(const std::string& programFolder);

    FtpResult open(const std::string& agent) override;
    FtpResult connect(const FtpLogin& login) override;
    FtpResult changeDirectory(const std::string& folder) override;
    FtpResult putFile(const std::string& localPath, const std::string& remoteName) override;
    FtpResult putBytes(const std::string& bytes, const std::string& remoteName) override;
    FtpResult rename(const std::string& from, const std::string& to) override;
    FtpResult remove(const std::string& name) override;
    void disconnect() override;

  private:
    bool load();
    // The step on the module's client; "unavailable" where the module does not load.
    FtpResult forward(const std::function<FtpResult(FtpClient&)>& step);

    struct Module;
    std::vector<std::string> modulePaths_;
    std::unique_ptr<Module> module_;
};

}  // namespace somnar
