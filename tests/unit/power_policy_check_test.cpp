// The check where the power policy decides (Windows): each item from what the system says.

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/win32/check/power_policy_check.h"

namespace somnar {
namespace {

struct PolicyCheck {
    testing::FakePlatform platform;
    testing::FakePowerPolicy policy;
    PolicyCheckServices services{policy, platform.settings, platform.dialer, platform.ftp};
};

TEST(PowerPolicyCheckTest, AMachineThatCanBeWokenPassesAndEachLackNamesItsFix) {
    const std::string ok =
        "Standby möglich (S3): ok\n"
        "Ruhezustand möglich (S4): ok\n"
        "Ruhezustand eingeschaltet: ok\n"
        "Zeitgeber zur Aktivierung im Netzbetrieb: ok (zugelassen)\n"
        "Zeitgeber zur Aktivierung im Akkubetrieb: ok (zugelassen)\n";
    const std::string hibernateOn =
        "    Abhilfe: in einer Eingabeaufforderung als Administrator: powercfg /hibernate on\n";
    using Caps = PowerPolicy::Capabilities;
    const std::tuple<const char*, std::function<void(PolicyCheck&)>, std::string, int> cases[] = {
        {"all there",
         [](PolicyCheck& t) {
             t.platform.dialer.entries = {"Arcor", "Handy"};
         },
         ok + "DFÜ-Verbindung: ok („Handy“)\n", 0},
        {"hibernation off; S3 beside Modern Standby counts",
         [](PolicyCheck& t) {
             t.policy.caps = Caps{true, true, false, false, true};
         },
         "Standby möglich (S3): ok\nRuhezustand möglich (S4): fehlt (kein S4)\n" + hibernateOn +
             "Ruhezustand eingeschaltet: fehlt (keine Ruhezustandsdatei hiberfil.sys)\n" +
             hibernateOn,
         1},
        {"modern standby, no battery",
         [](PolicyCheck& t) {
             t.policy.caps = Caps{false, true, true, true, false};
         },
         "Standby möglich (S3): fehlt (Modern Standby (S0 Low Power Idle) statt S3)\n    "
         "Abhilfe: aus Modern Standby weckt der Zeitgeber den Rechner nicht sicher: den "
         "Ruhezustand verwenden\nRuhezustand möglich (S4): ok\nRuhezustand eingeschaltet: ok\n"
         "Zeitgeber zur Aktivierung im Netzbetrieb: ok (zugelassen)\n"
         "Zeitgeber zur Aktivierung im Akkubetrieb: nicht nötig (kein Akku)\n",
         1},
        {"capabilities not told", [](PolicyCheck& t) { t.policy.caps.reset(); },
         "Standby möglich (S3): unbekannt (Windows nennt die Energiefunktionen nicht)\n    "
         "Abhilfe: powercfg /availablesleepstates zeigt, was der Rechner kann\nRuhezustand "
         "möglich (S4): unbekannt",
         1},
        {"wake timers",
         [](PolicyCheck& t) {
             t.policy.timers = {{PowerSource::Mains, WakeTimers::ImportantOnly},
                                {PowerSource::Battery, WakeTimers::Disabled}};
         },
         "Zeitgeber zur Aktivierung im Netzbetrieb: fehlt (nur wichtige Zeitgeber)\n    Abhilfe: "
         "powercfg /setacvalueindex SCHEME_CURRENT SUB_SLEEP RTCWAKE 1, dann powercfg /setactive "
         "SCHEME_CURRENT\nZeitgeber zur Aktivierung im Akkubetrieb: fehlt (deaktiviert)\n    "
         "Abhilfe: powercfg /setdcvalueindex SCHEME_CURRENT SUB_SLEEP RTCWAKE 1, dann powercfg "
         "/setactive SCHEME_CURRENT\n",
         1},
        {"plan unreadable",
         [](PolicyCheck& t) { t.policy.timers[PowerSource::Mains] = WakeTimers::Unknown; },
         "Zeitgeber zur Aktivierung im Netzbetrieb: unbekannt (der Energiesparplan lässt sich "
         "nicht lesen)\n    Abhilfe: nachsehen mit: powercfg /query SCHEME_CURRENT SUB_SLEEP "
         "RTCWAKE\n",
         1},
        {"dial-up entry gone", [](PolicyCheck& t) { t.platform.dialer.entries = {"Arcor"}; },
         "DFÜ-Verbindung: fehlt („Handy“ steht nicht im Telefonbuch von Windows)\n    Abhilfe: "
         "im Programmfenster eine vorhandene DFÜ-Verbindung wählen\n",
         1},
    };
    for (const auto& [name, change, expected, status] : cases) {
        PolicyCheck t;
        t.platform.settings.store("Verbindung", "Name", "Handy");
        change(t);
        const auto items = checkPowerPolicy(t.services, false);
        const std::string report = checkReport(items);
        // The lines of the changed items, in the order of the report.
        EXPECT_NE(report.find(expected), std::string::npos) << name << ":\n" << report;
        EXPECT_EQ(checkExitStatus(items), status) << name;
    }
    PolicyCheck t;  // nothing stored: neither dial-up nor FTP is needed, nor asked for
    EXPECT_EQ(checkReport(checkPowerPolicy(t.services, true)),
              ok + "DFÜ-Verbindung: nicht nötig (keine gespeichert)\n"
                   "FTP-Server: nicht nötig (keiner gespeichert)\n");
    EXPECT_TRUE(t.platform.log.empty());
}

}  // namespace
}  // namespace somnar
