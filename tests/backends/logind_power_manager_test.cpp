#include "platform/linux/logind_power_manager.h"

#include "backends/private_bus.h"
#include "backends/silent_socket.h"
#include "backends/test_environment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Answers that need no waiting must come well before the default timeout runs out.
constexpr auto kPromptly = 2s;
// A shortened timeout, and how long a query may take with it at most.
constexpr auto kShortTimeout = 500ms;
constexpr auto kWithinShortTimeout = 3s;

template <typename Query>
Clock::duration timeOf(Query&& query) {
    const auto start = Clock::now();
    query();
    return Clock::now() - start;
}

class LogindPowerManagerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(bus_.ok()) << bus_.error(); }

    void startLogind(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", record().string()});
        std::string why;
        logind_ = bus_.startPeer("fake_logind.py", args, why);
        ASSERT_NE(logind_, nullptr) << why;
    }

    std::filesystem::path record() const { return bus_.folder() / "logind-calls.jsonl"; }

    test::PrivateBus bus_;
    std::unique_ptr<test::ChildProcess> logind_;
};

struct Answer {
    const char* text;
    bool possible;
    const char* label;
};

class LogindAnswerTest : public LogindPowerManagerTest,
                         public ::testing::WithParamInterface<Answer> {
  protected:
    // The other capability gets the opposite verdict, so a mixed-up query shows.
    static const char* opposite() { return GetParam().possible ? "no" : "yes"; }
};

TEST_P(LogindAnswerTest, CanHibernateFollowsLogindsAnswer) {
    ASSERT_NO_FATAL_FAILURE(
        startLogind({"--can-hibernate", GetParam().text, "--can-suspend", opposite()}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.canHibernate(), GetParam().possible);
    EXPECT_EQ(manager.canSuspend(), !GetParam().possible);
}

TEST_P(LogindAnswerTest, CanSuspendFollowsLogindsAnswer) {
    ASSERT_NO_FATAL_FAILURE(
        startLogind({"--can-hibernate", opposite(), "--can-suspend", GetParam().text}));
    LogindPowerManager manager;

    EXPECT_EQ(manager.canSuspend(), GetParam().possible);
    EXPECT_EQ(manager.canHibernate(), !GetParam().possible);
}

// "challenge": allowed once the user authenticates, which the sleep call itself asks for.
INSTANTIATE_TEST_SUITE_P(Answers, LogindAnswerTest,
                         ::testing::Values(Answer{"yes", true, "yes"},
                                           Answer{"challenge", true, "challenge"},
                                           Answer{"no", false, "no"}, Answer{"na", false, "na"},
                                           Answer{"Yes", false, "otherCase"},
                                           Answer{"yes ", false, "trailingBlank"},
                                           Answer{"", false, "empty"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(LogindPowerManagerTest, EachQueryIsOneCallOfItsOwnMethod) {
    ASSERT_NO_FATAL_FAILURE(startLogind({}));
    LogindPowerManager manager;

    manager.canHibernate();
    manager.canSuspend();

    EXPECT_EQ(test::readLines(record()),
              (std::vector<std::string>{R"({"method": "CanHibernate", "args": []})",
                                        R"({"method": "CanSuspend", "args": []})"}));
}

TEST_F(LogindPowerManagerTest, ErrorReplyMeansNotPossible) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--fail", "CanHibernate", "--can-suspend", "yes"}));
    LogindPowerManager manager;

    EXPECT_FALSE(manager.canHibernate());
    EXPECT_TRUE(manager.canSuspend());
}

TEST_F(LogindPowerManagerTest, UnansweredQueryGivesUpAfterTheTimeoutAndTheNextOneWorks) {
    ASSERT_NO_FATAL_FAILURE(startLogind({"--stall", "CanHibernate", "--can-suspend", "yes"}));
    LogindPowerManager manager(kShortTimeout);

    bool possible = true;
    EXPECT_LT(timeOf([&] { possible = manager.canHibernate(); }), kWithinShortTimeout);
    EXPECT_FALSE(possible);
    EXPECT_TRUE(manager.canSuspend());
}

TEST_F(LogindPowerManagerTest, NoLogindOnTheBusMeansNotPossibleAtOnce) {
    LogindPowerManager manager;

    bool hibernate = true;
    bool suspend = true;
    EXPECT_LT(timeOf([&] { hibernate = manager.canHibernate(); }), kPromptly);
    EXPECT_LT(timeOf([&] { suspend = manager.canSuspend(); }), kPromptly);
    EXPECT_FALSE(hibernate);
    EXPECT_FALSE(suspend);
}

TEST_F(LogindPowerManagerTest, LogindStartedAfterAFailedQueryAnswersTheNextOne) {
    LogindPowerManager manager;
    EXPECT_FALSE(manager.canHibernate());

    ASSERT_NO_FATAL_FAILURE(startLogind({"--can-hibernate", "yes"}));

    EXPECT_TRUE(manager.canHibernate());
}

TEST(LogindPowerManagerWithoutBusTest, MissingBusSocketMeansNotPossibleAtOnce) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS",
                              "unix:path=" + (folder.path() / "no-bus-here").string());
    LogindPowerManager manager;

    bool hibernate = true;
    bool suspend = true;
    EXPECT_LT(timeOf([&] { hibernate = manager.canHibernate(); }), kPromptly);
    EXPECT_LT(timeOf([&] { suspend = manager.canSuspend(); }), kPromptly);
    EXPECT_FALSE(hibernate);
    EXPECT_FALSE(suspend);
}

TEST(LogindPowerManagerWithoutBusTest, BusThatNeverAnswersGivesUpAfterTheTimeout) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::SilentSocket hungBus(folder.path() / "hung-bus");
    ASSERT_TRUE(hungBus.ok());
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS",
                              "unix:path=" + (folder.path() / "hung-bus").string());
    LogindPowerManager manager(kShortTimeout);

    bool possible = true;
    EXPECT_LT(timeOf([&] { possible = manager.canHibernate(); }), kWithinShortTimeout);
    EXPECT_FALSE(possible);
}

}  // namespace
}  // namespace somnar
