#pragma once

// A main window after start-up, on the fake platform, with helpers to set the pickers.

#include <gtest/gtest.h>

#include <string>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar::testing {

struct FormTest : ::testing::Test {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};

    void SetUp() override { form.load(); }

    void setWakeUp(const std::string& day, const std::string& month, const std::string& year,
                   const std::string& hour, const std::string& minute) {
        form.wakeTime.day.setText(day);
        form.wakeTime.month.setText(month);
        form.wakeTime.year.setText(year);
        form.wakeTime.hour.setText(hour);
        form.wakeTime.minute.setText(minute);
    }

    void setSleepTime(const std::string& day, const std::string& month, const std::string& year,
                      const std::string& hour, const std::string& minute) {
        form.sleepTime.day.setText(day);
        form.sleepTime.month.setText(month);
        form.sleepTime.year.setText(year);
        form.sleepTime.hour.setText(hour);
        form.sleepTime.minute.setText(minute);
    }

    void wantWakeUp() { form.wakeChoice[0].setValue(true); }

    // The text of the last message box shown.
    std::string lastMessage() const {
        return platform.dialogs.shown.empty() ? std::string() : platform.dialogs.shown.back().text;
    }
};

}  // namespace somnar::testing
