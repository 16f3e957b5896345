#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/connectivity.h"
#include "platform/files.h"
#include "platform/ftp_client.h"
#include "platform/host_address.h"
#include "platform/program_info.h"

namespace somnar {

// Where ip.html goes: the login, the folder, and the two file names.
struct FtpTarget {
    FtpLogin login;
    std::string folder;  // empty: the folder the login puts us in
    std::string localPath;
    std::string remoteName;
};

// What an upload tells while it runs: each step reached, the step that failed, and what
// the log should know besides.
struct UploadProgress {
    std::function<void(const std::string& status)> reached;
    std::function<void(const std::string& step, const FtpResult& result)> failed;
    std::function<void(const std::string& text)> noted;
};

// The name the file is stored under before it replaces the one on the server, so a
// transfer that fails half-way leaves the earlier file as it was.
std::string uploadName(const std::string& remoteName);

// The address as found: empty with the problem for the user when there is none.
struct AddressLookup {
    std::string address;
    std::string problem;
};

struct PublisherSeams {
    Connectivity& connectivity;
    HostAddress& hostAddress;
    Files& files;
    ProgramInfo& program;
    const Clock& clock;
    FtpClient& ftp;
};

// Publishing the machine's address: finding it, writing ip.html, uploading it.
class Publisher {
  public:
    explicit Publisher(PublisherSeams seams) : seams_(seams) {}

    bool isConnected() { return seams_.connectivity.isConnected(); }
    AddressLookup localIpAddress();
    // Where the document of that name is written and read from: the folder of the last
    // ip.html written, so the upload reads it without looking for the folder again;
    // empty when there is no folder for it.
    std::string documentPath(const std::string& name);
    // Writes ip.html for the address; the problem for the user when it could not be.
    std::optional<std::string> writeDocument(const std::string& address);
    // Every step reports to `progress`; the first that fails ends the upload. The file goes
    // up under uploadName() and is then renamed; where the server refuses the rename it is
    // stored under its own name after all.
    void upload(const FtpTarget& target, const UploadProgress& progress);

  private:
    // Stores the file under its temporary name and renames it; the temporary file is gone
    // afterwards, whatever failed.
    FtpResult sendFile(const FtpTarget& target, const UploadProgress& progress);

    PublisherSeams seams_;
    std::string writtenFolder_;
};

}  // namespace somnar
