// The wake-up choice and the after-wake options keep their fields consistent.

#include <gtest/gtest.h>

#include <random>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct OptionRulesTest : FormTest {
    void openPanel() {
        form.wakeChoice[0].userClick();
        form.optionsBox.userClick();
    }
    void expectRelationsHold(const std::string& after) {
        SCOPED_TRACE(after);
        EXPECT_FALSE(form.dialupBox.ticked() && form.alwaysOnBox.ticked());
        for (const Control* field :
             {static_cast<Control*>(&form.dialupName), static_cast<Control*>(&form.dialupUser),
              static_cast<Control*>(&form.dialupPassword),
              static_cast<Control*>(&form.dialupPasswordToggle)}) {
            EXPECT_EQ(field->enabled(), form.dialupBox.ticked()) << field->key();
        }
        EXPECT_EQ(form.programPath.enabled(), form.programBox.ticked());
        EXPECT_EQ(form.renewedSleepSpan.enabled(), form.renewedSleepBox.ticked());
        EXPECT_EQ(form.publishBox.enabled(), form.dialupBox.ticked() || form.alwaysOnBox.ticked());
    }
};

TEST_F(OptionRulesTest, WakeUpChoiceEnablesThePickersAndThePanelButton) {
    form.wakeChoice[0].userClick();
    EXPECT_TRUE(form.optionFrames[0].enabled());
    EXPECT_TRUE(form.optionsBox.enabled());
    EXPECT_TRUE(form.wakeTime.day.enabled());
    EXPECT_TRUE(form.wakeTime.minute.enabled());
    EXPECT_TRUE(form.wakeTime.day.acceptsInput());
    form.wakeChoice[1].userClick();
    EXPECT_FALSE(form.optionFrames[0].enabled());
    EXPECT_FALSE(form.optionsBox.enabled());
    EXPECT_FALSE(form.wakeTime.hour.enabled());
}

TEST_F(OptionRulesTest, PanelOpensAndClosesWithTheToggleAndFocusMovesAway) {
    openPanel();
    EXPECT_EQ(form.window.height(), 10365);
    EXPECT_EQ(form.window.focus(), &form.focusSink);
    form.optionsBox.userClick();
    EXPECT_EQ(form.window.height(), 3600);
}

TEST_F(OptionRulesTest, NoClearsEveryOptionDisablesTheirFieldsAndKeepsThePanelOpen) {
    openPanel();
    form.dialupBox.userClick();
    form.publishBox.userClick();
    form.programBox.userClick();
    form.renewedSleepBox.userClick();
    form.wakeChoice[1].userClick();
    for (const CheckBox* box : {&form.dialupBox, &form.alwaysOnBox, &form.publishBox,
                                &form.programBox, &form.renewedSleepBox}) {
        EXPECT_EQ(box->value(), 0) << box->key();
    }
    EXPECT_FALSE(form.ftpServer.enabled());  // the FTP box ran its own rule
    EXPECT_FALSE(form.publishBox.enabled());
    EXPECT_FALSE(form.programPath.enabled());
    EXPECT_EQ(form.optionsBox.value(), 1);
    EXPECT_EQ(form.window.height(), 10365);
    // The boxes stay usable while the panel is open.
    form.programBox.userClick();
    EXPECT_EQ(form.programBox.value(), 1);
    expectRelationsHold("nein");
}

TEST_F(OptionRulesTest, TickingOneConnectionBoxClearsTheOtherAndKeepsItself) {
    openPanel();
    form.alwaysOnBox.userClick();
    form.dialupBox.userClick();
    EXPECT_EQ(form.dialupBox.value(), 1);
    EXPECT_EQ(form.alwaysOnBox.value(), 0);
    EXPECT_TRUE(form.dialupUser.enabled());
    EXPECT_TRUE(form.publishBox.enabled());
    form.alwaysOnBox.userClick();
    EXPECT_EQ(form.alwaysOnBox.value(), 1);
    EXPECT_EQ(form.dialupBox.value(), 0);
    EXPECT_FALSE(form.dialupUser.enabled());
    EXPECT_TRUE(form.publishBox.enabled());
}

TEST_F(OptionRulesTest, FtpBoxKeepsItsTickWhenBothConnectionsAreOff) {
    openPanel();
    form.dialupBox.userClick();
    form.publishBox.userClick();
    EXPECT_TRUE(form.ftpServer.enabled());
    form.dialupBox.userClick();
    EXPECT_EQ(form.publishBox.value(), 1);
    EXPECT_FALSE(form.publishBox.enabled());
    EXPECT_TRUE(form.ftpServer.enabled());  // only the FTP box itself switches its fields
}

TEST_F(OptionRulesTest, UntickingProgramKeepsItsText) {
    openPanel();
    form.programBox.userClick();
    form.programPath.userSetText("/usr/local/bin/wecker");
    form.programBox.userClick();
    EXPECT_FALSE(form.programPath.enabled());
    EXPECT_EQ(form.programPath.text(), "/usr/local/bin/wecker");
}

TEST_F(OptionRulesTest, RelationsHoldAfterAnySequenceOfClicks) {
    openPanel();
    std::mt19937 random(20261206);
    const std::vector<std::pair<std::string, std::function<void()>>> clicks{
        {"INET", [&] { form.dialupBox.userClick(); }},
        {"DSL", [&] { form.alwaysOnBox.userClick(); }},
        {"FTP", [&] { form.publishBox.userClick(); }},
        {"PROG", [&] { form.programBox.userClick(); }},
        {"SLEEP", [&] { form.renewedSleepBox.userClick(); }},
        {"ja", [&] { form.wakeChoice[0].userClick(); }},
        {"nein", [&] { form.wakeChoice[1].userClick(); }},
    };
    std::string sequence;
    for (int step = 0; step < 400; ++step) {
        const auto& [name, click] = clicks[random() % clicks.size()];
        click();
        sequence += name + " ";
        expectRelationsHold(sequence);
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST_F(OptionRulesTest, TimedRequestShrinksTheWindowThroughTheToggle) {
    openPanel();
    form.timedSleepButtons[1].userClick();
    EXPECT_EQ(form.optionsBox.value(), 0);
    EXPECT_EQ(form.window.height(), 3600);
}

}  // namespace
}  // namespace somnar
