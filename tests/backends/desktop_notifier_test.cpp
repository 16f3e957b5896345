#include "platform/linux/desktop_notifier.h"

#include "backends/private_bus.h"
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

// How long notify() may take at most when nobody answers: its own limit and some slack.
constexpr auto kBounded = DesktopNotifier::kTimeout + 1s;

class DesktopNotifierTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(session_.ok()) << session_.error(); }

    void startService(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", record().string()});
        std::string why;
        service_ = session_.startPeer("fake_notifications.py", args, why);
        ASSERT_NE(service_, nullptr) << why;
    }

    std::filesystem::path record() const { return session_.folder() / "notifications.jsonl"; }

    test::PrivateBus session_{test::BusKind::Session};
    std::unique_ptr<test::ChildProcess> service_;
};

TEST_F(DesktopNotifierTest, OneCriticalNotificationThatNeverExpires) {
    ASSERT_NO_FATAL_FAILURE(startService({}));

    DesktopNotifier().notify("Aufwachen fehlgeschlagen", "Grüße\n\"zweite\" Zeile");

    EXPECT_EQ(test::readLines(record()),
              std::vector<std::string>{
                  R"({"method": "Notify", "args": ["Somnar Scheduler", 0, "somnar-scheduler", )"
                  R"("Aufwachen fehlgeschlagen", "Grüße\n\"zweite\" Zeile", [], )"
                  R"({"urgency": ["y", 2]}, 0]})"});
}

// No service on the bus, or one that never answers: the caller goes on.
TEST_F(DesktopNotifierTest, WithoutAnAnswerReturnsWithinItsLimit) {
    for (const bool stalledService : {false, true}) {
        if (stalledService) {
            ASSERT_NO_FATAL_FAILURE(startService({"--stall"}));
        }
        const auto start = Clock::now();
        DesktopNotifier().notify("Zusammenfassung", "Text");
        EXPECT_LT(Clock::now() - start, kBounded) << "service stalled: " << stalledService;
    }
    EXPECT_EQ(test::readLines(record()).size(), 1U);
}

}  // namespace
}  // namespace somnar
