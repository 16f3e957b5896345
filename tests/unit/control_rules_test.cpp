// The event rules of each control kind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"

namespace somnar {
namespace {

TEST(ControlRules, ButtonsRunFromCodeAtOnceButTakeNoUserClickWhileHiddenOrDisabled) {
    CommandButton button;
    std::vector<std::string> log;
    button.onClick = [&] { log.push_back("click"); };
    button.setValue(false);
    button.setValue(true);
    log.push_back("after");
    button.setVisible(false);
    button.userClick();
    button.setVisible(true);
    button.setEnabled(false);
    button.userClick();
    button.setValue(true);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "after", "click"}));
}

TEST(ControlRules, APickerTakesTextFromCodeAndShowsTheItemOfItsListIndex) {
    Picker picker;
    int notifications = 0;
    picker.setObserver([&] { ++notifications; });
    picker.setText("31");
    EXPECT_EQ(picker.listIndex(), -1);
    EXPECT_FALSE(picker.setListIndex(0));  // empty list: nothing selected
    EXPECT_EQ(picker.text(), "31");
    picker.addItem("Erste Verbindung");
    picker.addItem("zweite");
    EXPECT_TRUE(picker.setListIndex(1));
    EXPECT_EQ(picker.text(), "zweite");
    EXPECT_GT(notifications, 0);
}

TEST(ControlRules, ADisabledFrameOrBoxTakesNoInputWhateverTheChildrensOwnState) {
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
    EXPECT_EQ(clicks + box.value(), 0);
    EXPECT_EQ(picker.text(), "");
    outer.setEnabled(true);
    box.userClick();
    picker.userSetText("07");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(picker.text(), "07");
}

TEST(ControlRules, TimersTickOnlyWhileOnAndEachSwitchOnIsANewRun) {
    Timer timer;
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.setEnabled(false);
    timer.tick();
    const unsigned before = timer.startCount();
    timer.setEnabled(true);
    timer.tick();
    timer.setEnabled(true);  // already on: the run goes on
    EXPECT_EQ(timer.startCount(), before + 1);
    timer.setEnabled(false);
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), before + 2);
    EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace somnar
