// The window model matches its design table: every control exists once, in its
// container, and the start state is the designed one.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar {
namespace {

struct DesignTest : ::testing::Test {
    testing::FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};

    const Control* at(std::string_view key) const { return form.registry().find(key); }
    std::set<std::string> keysWhere(bool (*test)(const Control&)) const {
        std::set<std::string> keys;
        for (const Control* control : form.registry().controls()) {
            if (test(*control)) {
                keys.insert(control->key());
            }
        }
        return keys;
    }
};

TEST_F(DesignTest, EveryRowHasOneControlInItsContainerAndContainersComeFirst) {
    EXPECT_EQ(form.registry().mismatches(), std::vector<std::string>{});
    EXPECT_EQ(info.registry().mismatches(), std::vector<std::string>{});
    const auto& order = form.registry().controls();
    EXPECT_EQ(order.size(), mainWindowDesign().controls.size());
    EXPECT_EQ(keysWhere([](const Control&) { return true; }).size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto holder = std::find(order.begin(), order.end(), order[i]->container());
        EXPECT_TRUE(order[i]->container() == nullptr || holder - order.begin() < long(i))
            << order[i]->key();
    }
    EXPECT_EQ(form.timedSleepButtons[0].key(), "cmdRS_aus(0)");
    EXPECT_EQ(form.wakeTime.day.container(), &form.optionFrames[0]);
    EXPECT_EQ(form.hibernateNowButton.container(), at("Frame5"));
    EXPECT_EQ(at("Frame5")->container(), at("Frame4"));
    EXPECT_EQ(form.renewedSleepState[1].container(), at("Frame3"));
    EXPECT_EQ(form.showWindowEntry.container(), &form.trayMenu);
    EXPECT_EQ(static_cast<const Frame*>(at("Frame3"))->caption(),
              "Neuer Ruhe- oder Stanbyzustand nach wieviel Minuten?");
    EXPECT_EQ(static_cast<const Line*>(at("Line1"))->ends(), (LineEnds{-240, 3180, 8280, 3180}));
}

// Which controls start disabled or hidden is checked on the real widgets.
TEST_F(DesignTest, OnlyTheClockRunsAtStartAndElevenControlsCarryATip) {
    EXPECT_EQ(
        keysWhere([](const Control& c) { return c.kind() == ControlKind::Timer && c.enabled(); }),
        std::set<std::string>{"tmrAktZeit"});
    EXPECT_EQ(keysWhere([](const Control& c) { return !c.toolTip().empty(); }).size(), 11u);
    EXPECT_TRUE(form.wakeChoice[1].value() && form.renewedSleepState[0].value());
    EXPECT_EQ(form.dialupPassword.passwordChar() + form.ftpPassword.passwordChar(), "**");
    EXPECT_EQ(form.ftpFolder.text() + form.ftpStatus.caption(), "/Disconnected...");
}

}  // namespace
}  // namespace somnar
