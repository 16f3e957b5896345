#include "wake/after_waking.h"

namespace somnar {

std::optional<std::string> AfterWaking::dial(const DialupLogin& login) {
    const DialResult dialled = services_.dialer.dial(login.name, login.user, login.password);
    if (dialled.started) {
        return std::nullopt;
    }
    return "Einwahl fehlgeschlagen: " + dialled.reason;
}

std::optional<std::string> AfterWaking::startProgram(const std::string& commandLine) {
    const StartResult started = services_.programs.startDetached(commandLine);
    if (started.started) {
        return std::nullopt;
    }
    return "Programmstart fehlgeschlagen: " + started.reason;
}

}  // namespace somnar
