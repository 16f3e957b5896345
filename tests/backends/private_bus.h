#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/test_environment.h"

namespace somnar::test {

enum class BusKind { System, Session };

// A bus daemon of our own standing in for the system (or session) bus: while the object
// lives, DBUS_SYSTEM_BUS_ADDRESS (or DBUS_SESSION_BUS_ADDRESS) points at it, so neither the
// backends nor the stand-ins ever reach the machine's bus. Nothing is activated on it: a
// name is owned only by a stand-in the test starts.
class PrivateBus {
  public:
    explicit PrivateBus(BusKind kind);

    bool ok() const { return !address_.empty(); }
    const std::string& address() const { return address_; }
    // The bus goes away under its clients.
    void stop() { daemon_.reset(); }

  private:
    TempDir folder_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::optional<ScopedEnv> variable_;
};

// The fixture of the tests against stand-in services (tests/peers): a private system bus
// and session bus, and the stand-ins a test starts, each noting every call as one JSON line
// in its own record.
class BusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(system_.ok() && session_.ok()) << "dbus-daemon did not start";
    }

    // Starts tests/peers/<script> on the bus with `args` and waits until it is READY.
    void startPeer(const std::string& script, std::vector<std::string> args = {},
                   BusKind kind = BusKind::System);
    void stopPeer(const std::string& script) { peers_.erase(script); }
    std::filesystem::path record(const std::string& script) const {
        return folder_.path() / (script + ".jsonl");
    }
    std::vector<std::string> calls(const std::string& script) const {
        return readLines(record(script));
    }
    // A bus address where no bus is.
    std::string noBus() const { return "unix:path=" + (folder_.path() / "no-bus").string(); }

    TempDir folder_;
    PrivateBus system_{BusKind::System};
    PrivateBus session_{BusKind::Session};
    std::map<std::string, std::unique_ptr<ChildProcess>> peers_;
};

}  // namespace somnar::test
