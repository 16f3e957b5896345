#include "platform/linux/logind_power_manager.h"

#include "backends/call_record.h"
#include "backends/private_bus.h"
#include "backends/test_environment.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A refusal needs no waiting: it must come well before any limit runs out.
constexpr auto kPromptly = 2s;
// The shortened limit for logind to announce the sleep, and how long a give-up may take.
constexpr auto kStartLimit = 1s;
constexpr auto kWithinStartLimit = kStartLimit + 2s;
// A shortened timeout for the connection and the lock request.
constexpr auto kShortTimeout = 500ms;
// How long the stand-in takes to answer, as a user takes to authenticate.
constexpr auto kAuthentication = 1s;
constexpr auto kSlowAuthentication = 40s;
static_assert(kSlowAuthentication > LogindPowerManager::kSleepStartLimit);
// A wait in the bus must not cost more than this share of its time in processor time.
constexpr int kMaxCpuPercent = 25;
// How long the stand-ins' own events (a released lock) may take to be noted.
constexpr auto kNoted = 5s;
// Far longer than any test here needs, the slow authentication included.
constexpr auto kHangLimit = kSlowAuthentication + 20s;

const std::string kSleepLockTaken =
    R"({"method": "Inhibit", "args": ["sleep", "Somnar Scheduler", )"
    R"("Ruhezustand oder Standby wird eingeleitet", "delay"]})";
const std::string kSleepLockReleased =
    R"({"event": "InhibitorReleased", "args": ["sleep", "delay"]})";
const std::string kAnnounced = R"({"signal": "PrepareForSleep", "args": [true]})";
const std::string kAsleep = R"({"event": "Asleep"})";
const std::string kResumed = R"({"signal": "PrepareForSleep", "args": [false]})";

std::string requested(const char* method) {
    return std::string(R"({"method": ")") + method + R"(", "args": [true]})";
}

// Everything logind sees of one sleep done right, in order.
std::vector<std::string> wholeSleep(const char* method) {
    return {kSleepLockTaken, requested(method), kAnnounced, kSleepLockReleased, kAsleep, kResumed};
}

std::chrono::microseconds threadCpuTime() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec;
    const auto micros = usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    return std::chrono::seconds(seconds) + std::chrono::microseconds(micros);
}

struct TimedSleep {
    SleepResult result;
    Clock::duration wall;
    std::chrono::microseconds cpu;
};

TimedSleep timedSleep(LogindPowerManager& manager, SleepState state) {
    const auto cpuBefore = threadCpuTime();
    const auto start = Clock::now();
    SleepResult result = manager.sleep(state);
    return {std::move(result), Clock::now() - start, threadCpuTime() - cpuBefore};
}

// Stops the bus when a test runs longer than `after`: a sleep that would wait for ever
// then ends, and the test fails instead of hanging.
class Watchdog {
  public:
    Watchdog(test::PrivateBus& bus, Clock::duration after)
        : thread_([this, &bus, after](std::stop_token stop) {
              std::mutex mutex;
              std::unique_lock lock(mutex);
              wakeUp_.wait_for(lock, stop, after, [] { return false; });
              if (!stop.stop_requested()) {
                  fired_ = true;
                  bus.stop();
              }
          }) {}

    bool fired() const { return fired_; }

  private:
    std::atomic<bool> fired_{false};
    std::condition_variable_any wakeUp_;
    std::jthread thread_;
};

class LogindSleepTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(bus_.ok()) << bus_.error(); }
    void TearDown() override {
        EXPECT_FALSE(watchdog_.fired()) << "a sleep did not end; the bus was stopped to end it";
    }

    void startLogind(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", record().string()});
        std::string why;
        logind_ = bus_.startPeer("fake_logind.py", args, why);
        ASSERT_NE(logind_, nullptr) << why;
    }

    std::filesystem::path record() const { return bus_.folder() / "logind-calls.jsonl"; }

    test::PrivateBus bus_;
    std::unique_ptr<test::ChildProcess> logind_;
    Watchdog watchdog_{bus_, kHangLimit};
};

struct StateCase {
    SleepState state;
    const char* method;
    const char* label;
};

void PrintTo(const StateCase& stateCase, std::ostream* out) {
    *out << stateCase.label;
}

class LogindSleepStateTest : public LogindSleepTest,
                             public ::testing::WithParamInterface<StateCase> {};

TEST_P(LogindSleepStateTest, AsksOnceInteractivelyUnderADelayLockFreedWhenAnnounced) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(GetParam().state).outcome, SleepOutcome::WokeUp);
    // Freed after the announcement and before the machine goes down, not only on return.
    EXPECT_EQ(test::readLines(record()), wholeSleep(GetParam().method));
}

// logind itself announces the sleep before it answers the request.
TEST_P(LogindSleepStateTest, AnnouncementBeforeTheAnswerIsNotMissed) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--announce-before-reply"}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(GetParam().state).outcome, SleepOutcome::WokeUp);
    EXPECT_EQ(test::readLines(record()), wholeSleep(GetParam().method));
}

INSTANTIATE_TEST_SUITE_P(States, LogindSleepStateTest,
                         ::testing::Values(StateCase{SleepState::Hibernate, "Hibernate",
                                                     "Hibernate"},
                                           StateCase{SleepState::Standby, "Suspend", "Standby"}),
                         [](const auto& info) { return std::string(info.param.label); });

// With the real limit: the user takes longer to authenticate than logind has to announce
// the sleep, and sleep() still returns only once the machine has slept and woken.
TEST_F(LogindSleepTest, SlowAuthenticationIsNotCountedAgainstTheAnnouncement) {
    ASSERT_NO_FATAL_FAILURE(startLogind(
        {"--reply-after", std::to_string(std::chrono::seconds(kSlowAuthentication).count())}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(SleepState::Standby).outcome, SleepOutcome::WokeUp);
    EXPECT_EQ(test::readLines(record()), wholeSleep("Suspend"));
}

TEST_F(LogindSleepTest, TwoSleepsInARowBothWake) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(SleepState::Standby).outcome, SleepOutcome::WokeUp);
    EXPECT_EQ(manager.sleep(SleepState::Hibernate).outcome, SleepOutcome::WokeUp);

    auto expected = wholeSleep("Suspend");
    const auto second = wholeSleep("Hibernate");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(test::readLines(record()), expected);
}

TEST_F(LogindSleepTest, ResumeBeforeTheAnnouncementIsNotTakenForTheWakeUp) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--stray-resume"}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(SleepState::Standby).outcome, SleepOutcome::WokeUp);
    auto expected = wholeSleep("Suspend");
    expected.insert(expected.begin() + 2, kResumed);
    EXPECT_EQ(test::readLines(record()), expected);
}

struct RefusalCase {
    const char* error;
    const char* message;
    SleepOutcome outcome;
    const char* detail;
    const char* label;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out) {
    *out << refusal.label;
}

class LogindRefusalTest : public LogindSleepTest,
                          public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(LogindRefusalTest, EndsAtOnceWithItsKindAndLogindsWordsAndFreesTheLock) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--fail", "Hibernate", "--error", GetParam().error,
                                         "--error-message", GetParam().message}));
    LogindPowerManager manager;

    const TimedSleep sleep = timedSleep(manager, SleepState::Hibernate);

    EXPECT_EQ(sleep.result.outcome, GetParam().outcome);
    EXPECT_EQ(sleep.result.detail, GetParam().detail);
    EXPECT_LT(sleep.wall, kPromptly);
    EXPECT_TRUE(test::waitForLine(record(), kSleepLockReleased, kNoted));
    EXPECT_EQ(
        test::readLines(record()),
        (std::vector<std::string>{kSleepLockTaken, requested("Hibernate"), kSleepLockReleased}));
}

constexpr const char* kInProgress = "There's already a shutdown or sleep operation in progress";

INSTANTIATE_TEST_SUITE_P(
    Refusals, LogindRefusalTest,
    ::testing::Values(
        RefusalCase{"org.freedesktop.DBus.Error.AccessDenied", "Access denied",
                    SleepOutcome::NotAuthorized, "Access denied", "AccessDenied"},
        RefusalCase{"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
                    "Interactive authentication required.", SleepOutcome::NotAuthorized,
                    "Interactive authentication required.", "InteractiveAuthorizationRequired"},
        RefusalCase{"org.freedesktop.PolicyKit1.Error.NotAuthorized", "Not authorized",
                    SleepOutcome::NotAuthorized, "Not authorized", "PolkitNotAuthorized"},
        RefusalCase{"org.freedesktop.PolicyKit1.Error.Cancelled", "Cancelled",
                    SleepOutcome::NotAuthorized, "Cancelled", "PolkitCancelled"},
        RefusalCase{"org.freedesktop.login1.SleepVerbNotSupported",
                    "Not enough swap space for hibernation", SleepOutcome::NotSupported,
                    "Not enough swap space for hibernation", "SleepVerbNotSupported"},
        RefusalCase{"org.freedesktop.DBus.Error.NotSupported", "Not supported",
                    SleepOutcome::NotSupported, "Not supported", "NotSupported"},
        RefusalCase{"org.freedesktop.DBus.Error.ServiceUnknown", "No such service",
                    SleepOutcome::NoService, "No such service", "ServiceUnknown"},
        // Without a message, its name is all logind said.
        RefusalCase{"org.freedesktop.DBus.Error.NameHasNoOwner", "", SleepOutcome::NoService,
                    "org.freedesktop.DBus.Error.NameHasNoOwner", "NameHasNoOwnerWithoutMessage"},
        RefusalCase{"org.freedesktop.login1.OperationInProgress", kInProgress,
                    SleepOutcome::Refused, kInProgress, "OperationInProgress"}),
    [](const auto& info) { return std::string(info.param.label); });

// However long the user takes to authenticate: neither the start limit nor the connection's
// timeout ends the wait for the answer; only the bus going away does.
TEST_F(LogindSleepTest, UnansweredRequestIsAwaitedPastEveryLimitUntilTheBusGoes) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--stall", "Suspend"}));
    LogindPowerManager manager(kShortTimeout, kStartLimit);
    std::atomic<bool> busGone{false};
    std::jthread busGoes([&] {
        test::waitForLine(record(), requested("Suspend"), kNoted);
        std::this_thread::sleep_for(2 * kStartLimit);
        busGone = true;
        bus_.stop();
    });

    const SleepResult result = manager.sleep(SleepState::Standby);
    const bool returnedAfterTheBusWent = busGone;
    busGoes.join();

    EXPECT_TRUE(returnedAfterTheBusWent);
    EXPECT_EQ(result.outcome, SleepOutcome::NoService);
}

// The limit starts with logind's answer, not with the request.
TEST_F(LogindSleepTest, AcceptedButNeverAnnouncedFailsAfterTheLimitWithoutSpinning) {
    ASSERT_NO_FATAL_FAILURE(
        startLogind({"--no-sleep-signal", "--reply-after",
                     std::to_string(std::chrono::seconds(kAuthentication).count())}));
    LogindPowerManager manager(kShortTimeout, kStartLimit);

    const TimedSleep sleep = timedSleep(manager, SleepState::Hibernate);

    EXPECT_EQ(sleep.result.outcome, SleepOutcome::NotAnnounced);
    EXPECT_GE(sleep.wall, kAuthentication + kStartLimit);
    EXPECT_LT(sleep.wall, kAuthentication + kWithinStartLimit);
    EXPECT_LT(sleep.cpu * 100, sleep.wall * kMaxCpuPercent);
    EXPECT_TRUE(test::waitForLine(record(), kSleepLockReleased, kNoted));
    EXPECT_EQ(
        test::readLines(record()),
        (std::vector<std::string>{kSleepLockTaken, requested("Hibernate"), kSleepLockReleased}));
}

TEST_F(LogindSleepTest, WithoutTheDelayLockTheMachineStillSleeps) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--fail", "Inhibit"}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.sleep(SleepState::Standby).outcome, SleepOutcome::WokeUp);
    EXPECT_EQ(test::readLines(record()),
              (std::vector<std::string>{kSleepLockTaken, requested("Suspend"), kAnnounced, kAsleep,
                                        kResumed}));
}

TEST_F(LogindSleepTest, NoLogindOnTheBusFailsAtOnce) {
    LogindPowerManager manager;

    const TimedSleep sleep = timedSleep(manager, SleepState::Hibernate);

    EXPECT_EQ(sleep.result.outcome, SleepOutcome::NoService);
    EXPECT_LT(sleep.wall, kPromptly);
}

// Once asleep there is no limit; but when logind is gone no resume will ever come, and we
// are evidently running.
TEST_F(LogindSleepTest, LogindLeavingWhileAsleepEndsTheWait) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--stay-asleep"}));
    LogindPowerManager manager;
    std::atomic<bool> asleep{false};
    std::jthread logindLeaves([&] {
        asleep = test::waitForLine(record(), kAsleep, kNoted);
        logind_->stop();
    });

    const SleepOutcome outcome = manager.sleep(SleepState::Standby).outcome;
    logindLeaves.join();

    EXPECT_TRUE(asleep);
    EXPECT_EQ(outcome, SleepOutcome::WokeUp);
}

TEST_F(LogindSleepTest, BusGoingAwayWhileAsleepEndsTheWaitWithoutSpinning) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--stay-asleep"}));
    LogindPowerManager manager;
    std::atomic<bool> asleep{false};
    std::jthread busGoes([&] {
        asleep = test::waitForLine(record(), kAsleep, kNoted);
        // Long enough asleep that a busy wait would show in the processor time.
        std::this_thread::sleep_for(500ms);
        bus_.stop();
    });

    const TimedSleep sleep = timedSleep(manager, SleepState::Hibernate);
    busGoes.join();

    EXPECT_TRUE(asleep);
    EXPECT_EQ(sleep.result.outcome, SleepOutcome::WokeUp);
    EXPECT_LT(sleep.cpu * 100, sleep.wall * kMaxCpuPercent);
}

TEST(LogindSleepWithoutBusTest, MissingBusSocketFailsAtOnce) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS",
                              "unix:path=" + (folder.path() / "no-bus-here").string());
    LogindPowerManager manager;

    const TimedSleep sleep = timedSleep(manager, SleepState::Standby);

    EXPECT_EQ(sleep.result.outcome, SleepOutcome::NoService);
    EXPECT_LT(sleep.wall, kPromptly);
}

}  // namespace
}  // namespace somnar
