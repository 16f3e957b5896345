// The wake-up choice and the after-wake options keep their fields consistent.

#include <gtest/gtest.h>

#include <random>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

struct OptionRulesTest : testing::FormTest {
    void SetUp() override {
        FormTest::SetUp();
        ui.wakeChoice[0].userClick();
        ui.optionsBox.userClick();
    }
    void expectRelationsHold(const std::string& after) {
        SCOPED_TRACE(after);
        EXPECT_FALSE(ui.dialupBox.ticked() && ui.alwaysOnBox.ticked());
        EXPECT_EQ(enabledOf({&ui.dialupName, &ui.dialupUser, &ui.dialupPassword,
                             &ui.dialupPasswordToggle}),
                  std::string(4, ui.dialupBox.ticked() ? '1' : '0'));
        EXPECT_EQ(ui.programPath.enabled(), ui.programBox.ticked());
        EXPECT_EQ(ui.renewedSleepSpan.enabled(), ui.renewedSleepBox.ticked());
        EXPECT_EQ(ui.publishBox.enabled(), ui.dialupBox.ticked() || ui.alwaysOnBox.ticked());
        const bool wakeUp = ui.wakeChoice[0].value();
        EXPECT_EQ(ui.optionFrames[0].enabled() && ui.wakeTime.day.enabled() &&
                      ui.wakeTime.minute.enabled() && ui.optionsBox.enabled(),
                  wakeUp);
    }
};

TEST_F(OptionRulesTest, ThePanelOpensAndClosesWithItsToggle) {
    EXPECT_EQ(ui.window.height(), 10365);
    EXPECT_EQ(ui.window.focus(), &ui.focusSink);
    ui.optionsBox.userClick();
    EXPECT_EQ(ui.window.height(), 3600);
}

TEST_F(OptionRulesTest, NoClearsEveryOptionEachByItsOwnRuleAndKeepsThePanel) {
    for (CheckBox* box : {&ui.dialupBox, &ui.publishBox, &ui.programBox, &ui.renewedSleepBox}) {
        box->userClick();
    }
    ui.programPath.userSetText("/usr/local/bin/wecker");
    ui.wakeChoice[1].userClick();
    EXPECT_FALSE(ui.ftpServer.enabled());  // the FTP box ran its own rule
    EXPECT_EQ(ui.programPath.text(), "/usr/local/bin/wecker");
    EXPECT_EQ(ui.window.height(), 10365);
    expectRelationsHold("nein");
    EXPECT_FALSE(ui.dialupBox.ticked() || ui.publishBox.ticked() || ui.programBox.ticked() ||
                 ui.renewedSleepBox.ticked());
    ui.programBox.userClick();  // the boxes stay usable while the panel is open
    EXPECT_EQ(ui.programBox.value(), 1);
}

TEST_F(OptionRulesTest, TheFtpBoxKeepsItsTickAndFieldsWhenBothConnectionsGoOff) {
    ui.alwaysOnBox.userClick();
    ui.dialupBox.userClick();
    EXPECT_EQ(ui.alwaysOnBox.value(), 0);
    ui.publishBox.userClick();
    EXPECT_TRUE(ui.ftpServer.enabled() && ui.passiveBox.enabled() &&
                ui.ftpPasswordToggle.enabled());
    ui.dialupBox.userClick();
    EXPECT_EQ(ui.publishBox.value(), 1);
    EXPECT_FALSE(ui.publishBox.enabled());
    EXPECT_TRUE(ui.ftpServer.enabled());  // only the FTP box itself switches its fields
}

TEST_F(OptionRulesTest, RelationsHoldAfterAnySequenceOfClicks) {
    std::mt19937 random(20261206);
    const std::vector<std::pair<std::string, std::function<void()>>> clicks{
        {"INET", [&] { ui.dialupBox.userClick(); }},
        {"DSL", [&] { ui.alwaysOnBox.userClick(); }},
        {"FTP", [&] { ui.publishBox.userClick(); }},
        {"PROG", [&] { ui.programBox.userClick(); }},
        {"SLEEP", [&] { ui.renewedSleepBox.userClick(); }},
        {"ja", [&] { ui.wakeChoice[0].userClick(); }},
        {"nein", [&] { ui.wakeChoice[1].userClick(); }},
    };
    std::string sequence;
    for (int step = 0; step < 400 && !::testing::Test::HasFailure(); ++step) {
        const auto& [name, click] = clicks[random() % clicks.size()];
        click();
        sequence += name + " ";
        expectRelationsHold(sequence);
    }
}

}  // namespace
}  // namespace somnar
