#pragma once

#include "backends/child_process.h"
#include "backends/test_environment.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace somnar::test {

// A bus daemon of our own, standing in for the system bus: it listens on a socket in a
// fresh temporary folder and DBUS_SYSTEM_BUS_ADDRESS points at it while the object lives,
// so the backends (and the stand-in services) talk to it and never to the machine's bus.
// No service is activated on it: a name is owned only by a stand-in the test starts.
class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // False, with the reason in error(), when the daemon could not be started.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& address() const { return address_; }
    // The bus's temporary folder, for the tests' own files (call records, ...).
    const std::filesystem::path& folder() const { return folder_.path(); }

    // Starts tests/peers/<script> with `args` and --address of this bus, and waits until it
    // prints READY. Null, with the reason in `why`, when it does not.
    std::unique_ptr<ChildProcess> startPeer(const std::string& script,
                                            const std::vector<std::string>& args,
                                            std::string& why) const;

  private:
    TempDir folder_;
    ChildProcess daemon_;
    std::string address_;
    std::string error_;
    std::optional<ScopedEnv> systemBus_;
};

}  // namespace somnar::test
