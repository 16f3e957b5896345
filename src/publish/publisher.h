#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/services.h"

namespace somnar {

// Where ip.html goes: the server, its login and folder, and the two file names.
struct FtpTarget {
    std::string server;
    std::string user;
    std::string password;
    std::string folder;  // empty: the folder the login puts us in
    bool passive = false;
    std::string localPath;
    std::string remoteName;
};

// What an upload tells while it runs: each step reached, and the step that failed.
struct UploadProgress {
    std::function<void(const std::string& status)> reached;
    std::function<void(const std::string& step, long code)> failed;
};

// The address as found: empty with the problem for the user when there is none.
struct AddressLookup {
    std::string address;
    std::string problem;
};

// Publishing the machine's address: finding it, writing ip.html, uploading it.
class Publisher {
  public:
    explicit Publisher(Services& services) : services_(services) {}

    bool isConnected() { return services_.connectivity.isConnected(); }
    AddressLookup localIpAddress();
    // Where the document of that name is written and read from: the folder of the last
    // ip.html written, so the upload reads it without looking for the folder again;
    // empty when there is no folder for it.
    std::string documentPath(const std::string& name);
    // Writes ip.html for the address; the problem for the user when it could not be.
    std::optional<std::string> writeDocument(const std::string& address);
    // Every step reports to `progress`; the first that fails ends the upload.
    void upload(const FtpTarget& target, const UploadProgress& progress);

  private:
    Services& services_;
    std::string writtenFolder_;
};

}  // namespace somnar
