#include "platform/win32/check/power_policy_check.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/settings_keys.h"

namespace somnar {
namespace {

using Capabilities = PowerPolicy::Capabilities;

const std::string kNotTold = "Windows nennt die Energiefunktionen nicht";
const std::string kShowStates = "powercfg /availablesleepstates zeigt, was der Rechner kann";
const std::string kHibernateOn =
    "in einer Eingabeaufforderung als Administrator: powercfg /hibernate on";

CheckItem capabilityItem(const std::string& name, const std::optional<Capabilities>& caps,
                         bool Capabilities::*offered, const std::string& lacking,
                         const std::string& fix) {
    if (!caps) {
        return {name, CheckState::Unknown, kNotTold, kShowStates};
    }
    if ((*caps).*offered) {
        return {name, CheckState::Ok, {}, {}};
    }
    return {name, CheckState::Missing, lacking, fix};
}

CheckItem standbyItem(const std::optional<Capabilities>& caps) {
    if (caps && !caps->standby && caps->modernStandby) {
        return {"Standby möglich (S3)", CheckState::Missing,
                "Modern Standby (S0 Low Power Idle) statt S3",
                "aus Modern Standby weckt der Zeitgeber den Rechner nicht sicher: den "
                "Ruhezustand verwenden"};
    }
    return capabilityItem("Standby möglich (S3)", caps, &Capabilities::standby, "kein S3",
                          "S3 im BIOS/UEFI einschalten oder den Ruhezustand verwenden");
}

CheckItem wakeTimersItem(PowerPolicy& policy, PowerSource source,
                         const std::optional<Capabilities>& caps) {
    const bool mains = source == PowerSource::Mains;
    CheckItem item{mains ? "Zeitgeber zur Aktivierung im Netzbetrieb"
                         : "Zeitgeber zur Aktivierung im Akkubetrieb",
                   CheckState::Missing,
                   {},
                   std::string("powercfg /set") + (mains ? "ac" : "dc") +
                       "valueindex SCHEME_CURRENT SUB_SLEEP RTCWAKE 1, dann powercfg "
                       "/setactive SCHEME_CURRENT"};
    if (!mains && caps && !caps->battery) {
        return {item.name, CheckState::NotNeeded, "kein Akku", {}};
    }
    switch (policy.wakeTimers(source)) {
        case WakeTimers::Allowed:
            return {item.name, CheckState::Ok, "zugelassen", {}};
        case WakeTimers::ImportantOnly:
            item.detail = "nur wichtige Zeitgeber";
            break;
        case WakeTimers::Disabled:
            item.detail = "deaktiviert";
            break;
        case WakeTimers::Unknown:
            item.state = CheckState::Unknown;
            item.detail = "der Energiesparplan lässt sich nicht lesen";
            item.fix = "nachsehen mit: powercfg /query SCHEME_CURRENT SUB_SLEEP RTCWAKE";
            break;
    }
    return item;
}

CheckItem dialupItem(PolicyCheckServices& services) {
    const SettingKey& at = settings::kDialupName;
    const std::string name = services.settings.read(at.application, at.section, at.key);
    if (name.empty()) {
        return {"DFÜ-Verbindung", CheckState::NotNeeded, "keine gespeichert", {}};
    }
    const std::vector<std::string> entries = services.dialer.listEntries();
    if (std::find(entries.begin(), entries.end(), name) != entries.end()) {
        return {"DFÜ-Verbindung", CheckState::Ok, "„" + name + "“", {}};
    }
    return {"DFÜ-Verbindung", CheckState::Missing,
            "„" + name + "“ steht nicht im Telefonbuch von Windows",
            "im Programmfenster eine vorhandene DFÜ-Verbindung wählen"};
}

}  // namespace

std::vector<CheckItem> checkPowerPolicy(PolicyCheckServices& services, bool withFtp) {
    PowerPolicy& policy = services.policy;
    const std::optional<Capabilities> caps = policy.capabilities();
    std::vector<CheckItem> items{
        standbyItem(caps),
        capabilityItem("Ruhezustand möglich (S4)", caps, &Capabilities::hibernation, "kein S4",
                       kHibernateOn),
        capabilityItem("Ruhezustand eingeschaltet", caps, &Capabilities::hibernationFile,
                       "keine Ruhezustandsdatei hiberfil.sys", kHibernateOn),
        wakeTimersItem(policy, PowerSource::Mains, caps),
        wakeTimersItem(policy, PowerSource::Battery, caps),
        dialupItem(services)};
    if (withFtp) {
        items.push_back(ftpLoginItem(services.settings, services.ftp));
    }
    return items;
}

}  // namespace somnar
