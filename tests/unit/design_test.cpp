// The window model matches its design table: every control exists once, in its
// container, with its caption, and the start state is the designed one.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar {
namespace {

using testing::FakePlatform;

struct DesignTest : ::testing::Test {
    FakePlatform platform;
    FrmInfo info{platform.services};
    Form1 form{platform.services, info};
};

TEST_F(DesignTest, EveryDesignRowHasItsControlAndNoControlIsUndesigned) {
    EXPECT_EQ(form.registry().mismatches(), std::vector<std::string>{});
    EXPECT_EQ(info.registry().mismatches(), std::vector<std::string>{});
    EXPECT_EQ(form.registry().controls().size(), form1Design().controls.size());
}

TEST_F(DesignTest, ControlKeysAreUniqueAndArraysCarryTheirIndex) {
    std::set<std::string> keys;
    for (const Control* control : form.registry().controls()) {
        EXPECT_TRUE(keys.insert(control->key()).second) << control->key();
    }
    EXPECT_EQ(form.cmdRS_aus[0].key(), "cmdRS_aus(0)");
    EXPECT_EQ(form.Picture1[2].key(), "Picture1(2)");
    EXPECT_EQ(form.Frame1[1].key(), "Frame1(1)");
    EXPECT_EQ(form.chkINET.key(), "chkINET");
}

TEST_F(DesignTest, ContainersAreTheDesignedFramesAndComeFirst) {
    EXPECT_EQ(form.cmbDay.container(), &form.Frame1[0]);
    EXPECT_EQ(form.cmdHibernate.container(), &form.Frame5);
    EXPECT_EQ(form.Frame5.container(), &form.Frame4);
    EXPECT_EQ(form.chkFTP.container(), &form.Frame1[1]);
    EXPECT_EQ(form.Option1[1].container(), &form.Frame3);
    EXPECT_EQ(form.chkINET.container(), nullptr);
    EXPECT_EQ(form.mnuAnzeige.container(), &form.mnuPopUp);
    const auto& order = form.registry().controls();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->container() != nullptr) {
            auto holder = std::find(order.begin(), order.end(), order[i]->container());
            EXPECT_LT(holder - order.begin(), static_cast<long>(i)) << order[i]->key();
        }
    }
}

TEST_F(DesignTest, WindowAndKeyCaptionsAreExact) {
    EXPECT_EQ(form.window.caption(), "Hibernate-Standby-Somnar-Scheduler");
    EXPECT_EQ(form.Frame4.caption(), "Ruhezustand oder Standby zu dieser Zeit auslösen");
    EXPECT_EQ(form.Frame3.caption(), "Neuer Ruhe- oder Stanbyzustand nach wieviel Minuten?");
    EXPECT_EQ(form.chkSLEEPnachSOMNAR.caption(),
              "Soll der Rechner nach dem Aufwachen erneut  in den Ruhe- oder Standbyzustand "
              "versetzt werden?");
    EXPECT_EQ(form.Label5.caption(),
              "Exe- oder Batchdatei in dieses Textfeld ziehen,  Direkteingabe oder OpenButton "
              "verwenden");
    EXPECT_EQ(form.chkActionen.caption(), "Zusätzliche Actionen");
    EXPECT_TRUE(form.chkActionen.buttonLook());
    EXPECT_EQ(form.cmdDummy.caption(), "Command1");
    EXPECT_EQ(form.mnuPopUp.caption(), "PopUp_Menu");
    EXPECT_EQ(form.mnuCountdown.caption(), "Countdownparameter anzeigen");
    EXPECT_EQ(form.mnuAnzeige.caption(), "Programmfenster anzeigen");
    EXPECT_EQ(form.cmdRS_aus[0].place(), (Place{2460, 420, 1635, 435}));
    EXPECT_EQ(form.Line1.ends(), (LineEnds{-240, 3180, 8280, 3180}));
}

TEST_F(DesignTest, ElevenControlsCarryAFixedToolTip) {
    std::map<std::string, std::string> tips;
    for (const Control* control : form.registry().controls()) {
        if (!control->toolTip().empty()) {
            tips[control->key()] = control->toolTip();
        }
    }
    EXPECT_EQ(tips.size(), 11u);
    EXPECT_EQ(tips["cmdReset"], "Contdown zum Ruhe/Stanbyzustand  abbrechen");
    EXPECT_EQ(tips["Picture2(2)"],
              "Ruhezustand zur eingestellten Zeit auslösen - - (ACPI-Zustand S4 (Suspend to "
              "disk)");
    EXPECT_EQ(tips["cmdSuspend"],
              "Standby jetzt (sofort) auslösen -  ACPI-Zustand S3 (Suspend to RAM )");
    EXPECT_EQ(tips["cmdNormalOrPW"], "Umschaltung Passwort verdeckt/normal");
    EXPECT_EQ(tips.count("cmdNormalOrPW2"), 0u);
}

TEST_F(DesignTest, ExactlyTheDesignedControlsStartDisabled) {
    std::set<std::string> disabled;
    for (const Control* control : form.registry().controls()) {
        if (!control->enabled() && control->kind() != ControlKind::Timer) {
            disabled.insert(control->key());
        }
    }
    const std::set<std::string> expected{
        "cmdTray",      "cmdReset", "cmdParameterInfo", "chkActionen",     "Frame1(0)",
        "cmbDay",       "cmbMonth", "cmbYear",          "cmbHour",         "cmbMinute",
        "cmbDFUE_Name", "txtUser",  "txtPassword",      "cmdNormalOrPW",   "chkFTP",
        "txtServer",    "txtDir",   "txtFTP_USER",      "txtFTP_Password", "cmdNormalOrPW2",
        "chkPassiv",    "Text1",    "cmbSpanne"};
    EXPECT_EQ(disabled, expected);
}

TEST_F(DesignTest, HiddenControlsAndOnlyTheClockTimerRunning) {
    std::set<std::string> hidden;
    std::set<std::string> running;
    for (const Control* control : form.registry().controls()) {
        if (!control->visible()) {
            hidden.insert(control->key());
        }
        if (control->kind() == ControlKind::Timer && control->enabled()) {
            running.insert(control->key());
        }
    }
    EXPECT_EQ(hidden, (std::set<std::string>{"Command4", "cmdFTP_PUT", "TxtFile", "TxtFileR",
                                             "Label17", "Label18"}));
    EXPECT_EQ(running, std::set<std::string>{"tmrAktZeit"});
    EXPECT_EQ(form.tmrAktZeit.interval(), 500);
    EXPECT_EQ(form.Timer1.interval(), 500);
    EXPECT_EQ(form.tmrRuhe.interval(), 1500);
    EXPECT_EQ(form.tmrStandby.interval(), 1500);
    EXPECT_EQ(form.tmrIP.interval(), 1000);
}

TEST_F(DesignTest, StartSelectionsAndPasswordMasks) {
    EXPECT_TRUE(form.optSOMNAR[1].value());
    EXPECT_FALSE(form.optSOMNAR[0].value());
    EXPECT_TRUE(form.Option1[0].value());
    EXPECT_FALSE(form.Option1[1].value());
    for (const CheckBox* box : {&form.chkINET, &form.chkDSL, &form.chkFTP, &form.chkPROG,
                                &form.chkSLEEPnachSOMNAR, &form.chkActionen, &form.chkPassiv}) {
        EXPECT_EQ(box->value(), 0) << box->key();
    }
    EXPECT_EQ(form.txtPassword.passwordChar(), "*");
    EXPECT_EQ(form.txtFTP_Password.passwordChar(), "*");
    EXPECT_EQ(form.txtUser.passwordChar(), "");
    EXPECT_EQ(form.txtDir.text(), "/");
    EXPECT_EQ(form.Status.caption(), "Disconnected...");
    EXPECT_EQ(form.lblIP.caption(), "0.0.0.0");
}

}  // namespace
}  // namespace somnar
