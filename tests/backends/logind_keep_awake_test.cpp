#include "platform/linux/logind_power_manager.h"

#include "backends/call_record.h"
#include "backends/private_bus.h"
#include "backends/silent_socket.h"
#include "backends/test_environment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPromptly = 2s;
constexpr auto kShortTimeout = 500ms;
constexpr auto kWithinShortTimeout = 3s;
// How long the stand-ins' own events (a released lock, a client gone) may take to be noted.
constexpr auto kNoted = 5s;
// Long enough for a lock given up too early, or a connection dropped, to have been noted.
constexpr auto kSettle = 300ms;

const std::string kIdleLockTaken = R"({"method": "Inhibit", "args": ["idle", "Somnar Scheduler", )"
                                   R"("Aufgaben nach dem Aufwachen laufen", "block"]})";
const std::string kIdleLockReleased =
    R"({"event": "InhibitorReleased", "args": ["idle", "block"]})";
const std::string kScreenSaverAsked =
    R"({"method": "Inhibit", "args": ["Somnar Scheduler", "Aufgaben nach dem Aufwachen laufen"]})";
const std::string kClientGone = R"({"event": "ClientGone"})";

template <typename Action>
Clock::duration timeOf(Action&& action) {
    const auto start = Clock::now();
    action();
    return Clock::now() - start;
}

std::string missingSocket(const test::TempDir& folder) {
    return "unix:path=" + (folder.path() / "no-bus-here").string();
}

class LogindKeepAwakeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(system_.ok()) << system_.error();
        ASSERT_TRUE(session_.ok()) << session_.error();
    }

    void startLogind(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", logindRecord().string()});
        std::string why;
        logind_ = system_.startPeer("fake_logind.py", args, why);
        ASSERT_NE(logind_, nullptr) << why;
    }

    void startScreenSaver(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", screenSaverRecord().string()});
        std::string why;
        screenSaver_ = session_.startPeer("fake_screensaver.py", args, why);
        ASSERT_NE(screenSaver_, nullptr) << why;
    }

    std::filesystem::path logindRecord() const { return system_.folder() / "logind-calls.jsonl"; }
    std::filesystem::path screenSaverRecord() const {
        return session_.folder() / "screensaver-calls.jsonl";
    }

    test::PrivateBus system_;
    test::PrivateBus session_{test::BusKind::Session};
    std::unique_ptr<test::ChildProcess> logind_;
    std::unique_ptr<test::ChildProcess> screenSaver_;
};

TEST_F(LogindKeepAwakeTest, TakesOneIdleLockAndHoldsItUntilTheEnd) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    ASSERT_NO_FATAL_FAILURE(startScreenSaver({}));
    auto manager = std::make_unique<LogindPowerManager>();

    manager->keepAwake();
    manager->keepAwake();
    std::this_thread::sleep_for(kSettle);

    EXPECT_EQ(test::readLines(logindRecord()), std::vector<std::string>{kIdleLockTaken});
    manager.reset();
    EXPECT_TRUE(test::waitForLine(logindRecord(), kIdleLockReleased, kNoted));
}

TEST_F(LogindKeepAwakeTest, AsksTheScreenSaverOnceAndStaysConnectedUntilTheEnd) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    ASSERT_NO_FATAL_FAILURE(startScreenSaver({"--first-cookie", "4711"}));
    auto manager = std::make_unique<LogindPowerManager>();

    manager->keepAwake();
    manager->keepAwake();
    std::this_thread::sleep_for(kSettle);

    EXPECT_EQ(test::readLines(screenSaverRecord()), std::vector<std::string>{kScreenSaverAsked});
    manager.reset();
    EXPECT_TRUE(test::waitForLine(screenSaverRecord(), kClientGone, kNoted));
    EXPECT_EQ(test::readLines(screenSaverRecord()),
              (std::vector<std::string>{
                  kScreenSaverAsked, R"({"method": "UnInhibit", "args": [4711]})", kClientGone}));
}

TEST_F(LogindKeepAwakeTest, ScreenSaverAtTheOlderPathIsAsked) {
    ASSERT_NO_FATAL_FAILURE(startScreenSaver({"--path", "/ScreenSaver", "--first-cookie", "9"}));
    auto manager = std::make_unique<LogindPowerManager>();

    manager->keepAwake();
    manager->keepAwake();

    EXPECT_EQ(test::readLines(screenSaverRecord()), std::vector<std::string>{kScreenSaverAsked});
    manager.reset();
    EXPECT_TRUE(
        test::waitForLine(screenSaverRecord(), R"({"method": "UnInhibit", "args": [9]})", kNoted));
}

TEST_F(LogindKeepAwakeTest, RefusedIdleLockStillHoldsOffTheScreenSaver) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--fail", "Inhibit"}));
    ASSERT_NO_FATAL_FAILURE(startScreenSaver({}));
    LogindPowerManager manager;

    manager.keepAwake();

    EXPECT_EQ(test::readLines(screenSaverRecord()), std::vector<std::string>{kScreenSaverAsked});
}

TEST_F(LogindKeepAwakeTest, WithoutSessionBusTheIdleLockIsStillTaken) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::ScopedEnv noSessionBus("DBUS_SESSION_BUS_ADDRESS", missingSocket(folder));
    LogindPowerManager manager;

    EXPECT_LT(timeOf([&] { manager.keepAwake(); }), kPromptly);
    EXPECT_EQ(test::readLines(logindRecord()), std::vector<std::string>{kIdleLockTaken});
}

TEST_F(LogindKeepAwakeTest, HungSessionBusCostsAtMostTheTimeout) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::SilentSocket hungBus(folder.path() / "hung-bus");
    ASSERT_TRUE(hungBus.ok());
    test::ScopedEnv sessionBus("DBUS_SESSION_BUS_ADDRESS",
                               "unix:path=" + (folder.path() / "hung-bus").string());
    LogindPowerManager manager(kShortTimeout);

    EXPECT_LT(timeOf([&] { manager.keepAwake(); }), kWithinShortTimeout);
    EXPECT_EQ(test::readLines(logindRecord()), std::vector<std::string>{kIdleLockTaken});
}

TEST(LogindKeepAwakeWithoutBusTest, WithoutAnyBusReturnsAtOnce) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS", missingSocket(folder));
    test::ScopedEnv sessionBus("DBUS_SESSION_BUS_ADDRESS", missingSocket(folder));
    LogindPowerManager manager;

    EXPECT_LT(timeOf([&] {
                  manager.keepAwake();
                  manager.keepAwake();
              }),
              kPromptly);
}

}  // namespace
}  // namespace somnar
