#pragma once

// The main window on the fake platform, after start-up in FormTest, with a helper to set the
// pickers.

#include <gtest/gtest.h>

#include <string>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar {

// What the window's rules keep behind the controls, for its tests.
struct MainWindowInspection {
    static Schedule& schedule(MainWindow& window) { return window.schedule_; }
    static RenewedSleepCountdown& renewedSleep(MainWindow& window) { return window.renewedSleep_; }
    static bool confirmRequest(MainWindow& window, const SleepRequest& request) {
        return window.confirmRequest(request);
    }
    static SleepAttempt sleepAndWake(MainWindow& window, SleepState state) {
        return window.sleepAndWake(state);
    }
};

}  // namespace somnar

namespace somnar::testing {

// The program's windows on a fake platform of their own, not yet loaded.
struct Program {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindowControls ui;
    MainWindow form{platform.services, info, ui};
};
struct ProgramTest : ::testing::Test, Program {
    Schedule& schedule() { return MainWindowInspection::schedule(form); }
    RenewedSleepCountdown& renewedSleep() { return MainWindowInspection::renewedSleep(form); }
    bool confirmRequest(const SleepRequest& request) {
        return MainWindowInspection::confirmRequest(form, request);
    }
    SleepAttempt sleepAndWake(SleepState state) {
        return MainWindowInspection::sleepAndWake(form, state);
    }
    // "day.month.year hour:minute" as the pickers show it.
    static std::string shown(const MomentPickers& p) {
        return p.day.text() + "." + p.month.text() + "." + p.year.text() + " " + p.hour.text() +
               ":" + p.minute.text();
    }
    // A '1' for each enabled control, a '0' for each disabled one.
    static std::string enabledOf(std::initializer_list<const Control*> controls) {
        std::string enabled;
        for (const Control* control : controls) {
            enabled += control->enabled() ? '1' : '0';
        }
        return enabled;
    }
};

struct FormTest : ProgramTest {
    void SetUp() override { form.load(); }

    // "day.month.year hour:minute", each field as the picker is to show it.
    static void set(MomentPickers& pickers, const std::string& moment) {
        std::size_t from = 0;
        for (auto [picker, separator] : {std::pair{&pickers.day, '.'},
                                         {&pickers.month, '.'},
                                         {&pickers.year, ' '},
                                         {&pickers.hour, ':'},
                                         {&pickers.minute, '\0'}}) {
            const std::size_t to = separator ? moment.find(separator, from) : moment.size();
            picker->setText(moment.substr(from, to - from));
            from = to + 1;
        }
    }

    void wantWakeUp() { ui.wakeChoice[0].setValue(true); }

    std::string lastMessage() const {
        return platform.dialogs.shown.empty() ? std::string() : platform.dialogs.shown.back().text;
    }
};

}  // namespace somnar::testing
