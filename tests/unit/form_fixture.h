#pragma once

// A main window after start-up, on the fake platform, with helpers to set the pickers.

#include <gtest/gtest.h>

#include <string>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar::testing {

struct FormTest : ::testing::Test {
    FakePlatform platform;
    FrmInfo info{platform.services};
    Form1 form{platform.services, info};

    void SetUp() override { form.Form_Load(); }

    void setWakeUp(const std::string& day, const std::string& month, const std::string& year,
                   const std::string& hour, const std::string& minute) {
        form.cmbDay.setText(day);
        form.cmbMonth.setText(month);
        form.cmbYear.setText(year);
        form.cmbHour.setText(hour);
        form.cmbMinute.setText(minute);
    }

    void setSleepTime(const std::string& day, const std::string& month, const std::string& year,
                      const std::string& hour, const std::string& minute) {
        form.cmbDay_aus.setText(day);
        form.cmbMonth_aus.setText(month);
        form.cmbYear_aus.setText(year);
        form.cmbHour_aus.setText(hour);
        form.cmbMinute_aus.setText(minute);
    }

    void wantWakeUp() { form.optSOMNAR[0].setValue(true); }

    // The text of the last message box shown.
    std::string lastMessage() const {
        return platform.dialogs.shown.empty() ? std::string() : platform.dialogs.shown.back().text;
    }
};

}  // namespace somnar::testing
