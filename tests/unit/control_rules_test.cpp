// The event rules of each control kind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"

namespace somnar {
namespace {

TEST(CommandButtonRules, ValueTrueRunsTheClickHandlerAtOnceAndFalseDoesNot) {
    CommandButton button;
    std::vector<std::string> log;
    button.onClick = [&] { log.push_back("click"); };
    button.setValue(false);
    EXPECT_TRUE(log.empty());
    button.setValue(true);
    log.push_back("after");
    EXPECT_EQ(log, (std::vector<std::string>{"click", "after"}));
}

TEST(CommandButtonRules, HiddenButtonsRunFromCodeButTakeNoUserClick) {
    CommandButton button;
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.setVisible(false);
    button.userClick();
    EXPECT_EQ(clicks, 0);
    button.setValue(true);
    EXPECT_EQ(clicks, 1);
}

TEST(CommandButtonRules, DisabledButtonTakesNoUserClick) {
    CommandButton button;
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.setEnabled(false);
    button.userClick();
    EXPECT_EQ(clicks, 0);
}

TEST(CheckBoxRules, ClickRunsOnlyWhenTheValueChanges) {
    CheckBox box;
    std::vector<int> seen;
    box.onClick = [&] { seen.push_back(box.value()); };
    box.setValue(0);
    box.setValue(1);
    box.setValue(1);
    box.setValue(2);
    box.setValue(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
}

TEST(CheckBoxRules, OnlyValueOneCountsAsTicked) {
    CheckBox box;
    box.setValue(CheckBox::Grayed);
    EXPECT_FALSE(box.ticked());
    box.setValue(CheckBox::Checked);
    EXPECT_TRUE(box.ticked());
}

TEST(CheckBoxRules, UserClickTogglesAndRunsTheHandler) {
    CheckBox box;
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.userClick();
    EXPECT_EQ(box.value(), 1);
    box.userClick();
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST(CheckBoxRules, HandlerSettingAnotherBoxRunsThatBoxsHandlerBeforeReturning) {
    CheckBox first;
    CheckBox second;
    std::vector<std::string> log;
    second.onClick = [&] { log.push_back("second"); };
    first.onClick = [&] {
        second.setValue(0);
        log.push_back("first done");
    };
    second.setValue(1);
    log.clear();
    first.setValue(1);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first done"}));
}

struct OptionGroup : ::testing::Test {
    OptionButton yes;
    OptionButton no;
    std::vector<std::string> clicks;

    void SetUp() override {
        yes.setSiblings({&no});
        no.setSiblings({&yes});
        yes.onClick = [this] { clicks.push_back("yes"); };
        no.onClick = [this] { clicks.push_back("no"); };
    }
};

TEST_F(OptionGroup, SettingTrueClearsSiblingsSilentlyAndRunsOwnClick) {
    no.setValue(true);
    clicks.clear();
    yes.setValue(true);
    EXPECT_TRUE(yes.value());
    EXPECT_FALSE(no.value());
    EXPECT_EQ(clicks, std::vector<std::string>{"yes"});
}

TEST_F(OptionGroup, SettingFalseClearsWithoutAnEvent) {
    yes.setValue(true);
    clicks.clear();
    yes.setValue(false);
    EXPECT_FALSE(yes.value());
    EXPECT_FALSE(no.value());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(OptionGroup, SelectingTheSelectedOptionAgainRunsNothing) {
    yes.setValue(true);
    clicks.clear();
    yes.setValue(true);
    yes.userClick();
    EXPECT_TRUE(clicks.empty());
}

TEST_F(OptionGroup, DisabledOptionTakesNoUserClick) {
    yes.setEnabled(false);
    yes.userClick();
    EXPECT_FALSE(yes.value());
    EXPECT_TRUE(clicks.empty());
}

TEST(PickerRules, TextFromCodeRunsNothingAndListIndexShowsTheItem) {
    Picker picker;
    int notifications = 0;
    picker.setObserver([&] { ++notifications; });
    picker.setText("31");
    EXPECT_EQ(picker.text(), "31");
    EXPECT_EQ(picker.listIndex(), -1);
    EXPECT_FALSE(picker.setListIndex(0));  // empty list: nothing selected
    EXPECT_EQ(picker.text(), "31");
    picker.addItem("Erste Verbindung");
    picker.addItem("zweite");
    EXPECT_TRUE(picker.setListIndex(1));
    EXPECT_EQ(picker.text(), "zweite");
    EXPECT_GT(notifications, 0);
}

TEST(FrameRules, DisabledFrameTakesNoInputForItsChildrenWhateverTheirOwnState) {
    Frame outer;
    Frame inner;
    CheckBox box;
    OptionButton option;
    Picker picker;
    inner.setContainer(&outer);
    box.setContainer(&inner);
    option.setContainer(&inner);
    picker.setContainer(&outer);
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    option.onClick = [&] { ++clicks; };

    outer.setEnabled(false);
    EXPECT_TRUE(box.enabled());
    box.userClick();
    option.userClick();
    picker.userSetText("07");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(picker.text(), "");

    outer.setEnabled(true);
    box.userClick();
    picker.userSetText("07");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(picker.text(), "07");
}

TEST(TimerRules, TicksRunOnlyWhileOnAndEachSwitchOnRestartsTheCount) {
    Timer timer;
    timer.setEnabled(false);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.tick();
    EXPECT_EQ(ticks, 0);
    const unsigned before = timer.startCount();
    timer.setEnabled(true);
    timer.tick();
    EXPECT_EQ(ticks, 1);
    timer.setEnabled(true);  // already on: the count goes on
    EXPECT_EQ(timer.startCount(), before + 1);
    timer.setEnabled(false);
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), before + 2);
}

TEST(TextBoxRules, UserTextIsIgnoredWhileDisabled) {
    TextBox box;
    box.setText("alt");
    box.setEnabled(false);
    box.userSetText("neu");
    EXPECT_EQ(box.text(), "alt");
    box.setText("vom Programm");
    EXPECT_EQ(box.text(), "vom Programm");
}

}  // namespace
}  // namespace somnar
