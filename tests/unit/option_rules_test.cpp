// The wake-up choice and the after-wake options keep their fields consistent.

#include <gtest/gtest.h>

#include <random>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

struct OptionRulesTest : testing::FormTest {
    void SetUp() override {
        FormTest::SetUp();
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
        const bool wakeUp = form.wakeChoice[0].value();
        EXPECT_EQ(form.optionFrames[0].enabled() && form.wakeTime.day.enabled() &&
                      form.wakeTime.minute.enabled() && form.optionsBox.enabled(),
                  wakeUp);
    }
};

TEST_F(OptionRulesTest, ThePanelOpensAndClosesWithItsToggleAndATimedRequest) {
    EXPECT_EQ(form.window.height(), 10365);
    EXPECT_EQ(form.window.focus(), &form.focusSink);
    form.optionsBox.userClick();
    EXPECT_EQ(form.window.height(), 3600);
    form.optionsBox.userClick();
    form.timedSleepButtons[1].userClick();
    EXPECT_EQ(form.optionsBox.value(), 0);
    EXPECT_EQ(form.window.height(), 3600);
}

TEST_F(OptionRulesTest, NoClearsEveryOptionEachByItsOwnRuleAndKeepsThePanel) {
    for (CheckBox* box :
         {&form.dialupBox, &form.publishBox, &form.programBox, &form.renewedSleepBox}) {
        box->userClick();
    }
    form.programPath.userSetText("/usr/local/bin/wecker");
    form.wakeChoice[1].userClick();
    EXPECT_FALSE(form.ftpServer.enabled());  // the FTP box ran its own rule
    EXPECT_EQ(form.programPath.text(), "/usr/local/bin/wecker");
    EXPECT_EQ(form.window.height(), 10365);
    expectRelationsHold("nein");
    EXPECT_FALSE(form.dialupBox.ticked() || form.publishBox.ticked() || form.programBox.ticked() ||
                 form.renewedSleepBox.ticked());
    form.programBox.userClick();  // the boxes stay usable while the panel is open
    EXPECT_EQ(form.programBox.value(), 1);
}

TEST_F(OptionRulesTest, TheFtpBoxKeepsItsTickAndFieldsWhenBothConnectionsGoOff) {
    form.alwaysOnBox.userClick();
    form.dialupBox.userClick();
    EXPECT_EQ(form.alwaysOnBox.value(), 0);
    form.publishBox.userClick();
    EXPECT_TRUE(form.ftpServer.enabled() && form.passiveBox.enabled() &&
                form.ftpPasswordToggle.enabled());
    form.dialupBox.userClick();
    EXPECT_EQ(form.publishBox.value(), 1);
    EXPECT_FALSE(form.publishBox.enabled());
    EXPECT_TRUE(form.ftpServer.enabled());  // only the FTP box itself switches its fields
}

TEST_F(OptionRulesTest, RelationsHoldAfterAnySequenceOfClicks) {
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
    for (int step = 0; step < 400 && !::testing::Test::HasFailure(); ++step) {
        const auto& [name, click] = clicks[random() % clicks.size()];
        click();
        sequence += name + " ";
        expectRelationsHold(sequence);
    }
}

}  // namespace
}  // namespace somnar
