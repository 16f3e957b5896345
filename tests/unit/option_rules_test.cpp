// The wake-up choice and the after-wake options keep their fields consistent.

#include <gtest/gtest.h>

#include <random>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct OptionRulesTest : FormTest {
    void openPanel() {
        form.optSOMNAR[0].userClick();
        form.chkActionen.userClick();
    }
    void expectRelationsHold(const std::string& after) {
        SCOPED_TRACE(after);
        EXPECT_FALSE(form.chkINET.ticked() && form.chkDSL.ticked());
        for (const Control* field :
             {static_cast<Control*>(&form.cmbDFUE_Name), static_cast<Control*>(&form.txtUser),
              static_cast<Control*>(&form.txtPassword),
              static_cast<Control*>(&form.cmdNormalOrPW)}) {
            EXPECT_EQ(field->enabled(), form.chkINET.ticked()) << field->key();
        }
        EXPECT_EQ(form.Text1.enabled(), form.chkPROG.ticked());
        EXPECT_EQ(form.cmbSpanne.enabled(), form.chkSLEEPnachSOMNAR.ticked());
        EXPECT_EQ(form.chkFTP.enabled(), form.chkINET.ticked() || form.chkDSL.ticked());
    }
};

TEST_F(OptionRulesTest, WakeUpChoiceEnablesThePickersAndThePanelButton) {
    form.optSOMNAR[0].userClick();
    EXPECT_TRUE(form.Frame1[0].enabled());
    EXPECT_TRUE(form.chkActionen.enabled());
    EXPECT_TRUE(form.cmbDay.enabled());
    EXPECT_TRUE(form.cmbMinute.enabled());
    EXPECT_TRUE(form.cmbDay.acceptsInput());
    form.optSOMNAR[1].userClick();
    EXPECT_FALSE(form.Frame1[0].enabled());
    EXPECT_FALSE(form.chkActionen.enabled());
    EXPECT_FALSE(form.cmbHour.enabled());
}

TEST_F(OptionRulesTest, PanelOpensAndClosesWithTheToggleAndFocusMovesAway) {
    openPanel();
    EXPECT_EQ(form.window.height(), 10365);
    EXPECT_EQ(form.window.focus(), &form.cmdDummy);
    form.chkActionen.userClick();
    EXPECT_EQ(form.window.height(), 3600);
}

TEST_F(OptionRulesTest, NoClearsEveryOptionDisablesTheirFieldsAndKeepsThePanelOpen) {
    openPanel();
    form.chkINET.userClick();
    form.chkFTP.userClick();
    form.chkPROG.userClick();
    form.chkSLEEPnachSOMNAR.userClick();
    form.optSOMNAR[1].userClick();
    for (const CheckBox* box :
         {&form.chkINET, &form.chkDSL, &form.chkFTP, &form.chkPROG, &form.chkSLEEPnachSOMNAR}) {
        EXPECT_EQ(box->value(), 0) << box->key();
    }
    EXPECT_FALSE(form.txtServer.enabled());  // the FTP box ran its own rule
    EXPECT_FALSE(form.chkFTP.enabled());
    EXPECT_FALSE(form.Text1.enabled());
    EXPECT_EQ(form.chkActionen.value(), 1);
    EXPECT_EQ(form.window.height(), 10365);
    // The boxes stay usable while the panel is open.
    form.chkPROG.userClick();
    EXPECT_EQ(form.chkPROG.value(), 1);
    expectRelationsHold("nein");
}

TEST_F(OptionRulesTest, TickingOneConnectionBoxClearsTheOtherAndKeepsItself) {
    openPanel();
    form.chkDSL.userClick();
    form.chkINET.userClick();
    EXPECT_EQ(form.chkINET.value(), 1);
    EXPECT_EQ(form.chkDSL.value(), 0);
    EXPECT_TRUE(form.txtUser.enabled());
    EXPECT_TRUE(form.chkFTP.enabled());
    form.chkDSL.userClick();
    EXPECT_EQ(form.chkDSL.value(), 1);
    EXPECT_EQ(form.chkINET.value(), 0);
    EXPECT_FALSE(form.txtUser.enabled());
    EXPECT_TRUE(form.chkFTP.enabled());
}

TEST_F(OptionRulesTest, FtpBoxKeepsItsTickWhenBothConnectionsAreOff) {
    openPanel();
    form.chkINET.userClick();
    form.chkFTP.userClick();
    EXPECT_TRUE(form.txtServer.enabled());
    form.chkINET.userClick();
    EXPECT_EQ(form.chkFTP.value(), 1);
    EXPECT_FALSE(form.chkFTP.enabled());
    EXPECT_TRUE(form.txtServer.enabled());  // only the FTP box itself switches its fields
}

TEST_F(OptionRulesTest, UntickingProgramKeepsItsText) {
    openPanel();
    form.chkPROG.userClick();
    form.Text1.userSetText("/usr/local/bin/wecker");
    form.chkPROG.userClick();
    EXPECT_FALSE(form.Text1.enabled());
    EXPECT_EQ(form.Text1.text(), "/usr/local/bin/wecker");
}

TEST_F(OptionRulesTest, RelationsHoldAfterAnySequenceOfClicks) {
    openPanel();
    std::mt19937 random(20261206);
    const std::vector<std::pair<std::string, std::function<void()>>> clicks{
        {"INET", [&] { form.chkINET.userClick(); }},
        {"DSL", [&] { form.chkDSL.userClick(); }},
        {"FTP", [&] { form.chkFTP.userClick(); }},
        {"PROG", [&] { form.chkPROG.userClick(); }},
        {"SLEEP", [&] { form.chkSLEEPnachSOMNAR.userClick(); }},
        {"ja", [&] { form.optSOMNAR[0].userClick(); }},
        {"nein", [&] { form.optSOMNAR[1].userClick(); }},
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
    form.cmdRS_aus[1].userClick();
    EXPECT_EQ(form.chkActionen.value(), 0);
    EXPECT_EQ(form.window.height(), 3600);
}

}  // namespace
}  // namespace somnar
