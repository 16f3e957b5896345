#pragma once

#include "backends/child_process.h"
#include "backends/test_environment.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace somnar::test {

// Which of the machine's buses a private bus stands in for.
enum class BusKind { System, Session };

// A bus daemon of our own, standing in for the system bus (or the session bus): it listens
// on a socket in a fresh temporary folder and DBUS_SYSTEM_BUS_ADDRESS (or
// DBUS_SESSION_BUS_ADDRESS) points at it while the object lives, so the backends (and the
// stand-in services) talk to it and never to the machine's bus. No service is activated on
// it: a name is owned only by a stand-in the test starts.
class PrivateBus {
  public:
    explicit PrivateBus(BusKind kind = BusKind::System);
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

    // Ends the daemon now, as a bus that goes away under its clients. May be called from
    // another thread than the one that made the bus.
    void stop();

  private:
    TempDir folder_;
    std::mutex daemonMutex_;  // stop() may come from another thread
    ChildProcess daemon_;
    std::string address_;
    std::string error_;
    std::optional<ScopedEnv> busAddress_;
};

}  // namespace somnar::test
