#include "wake/after_waking.h"

#include "app/failure_texts.h"

namespace somnar {

std::optional<std::string> AfterWaking::dial(const DialupLogin& login) {
    const DialResult dialled = services_.dialer.dial(login.name, login.user, login.password);
    if (dialled.ok()) {
        return std::nullopt;
    }
    return "Einwahl fehlgeschlagen: " + dialFailureText(dialled);
}

std::optional<std::string> AfterWaking::startProgram(const std::string& commandLine) {
    const StartResult started = services_.programs.startDetached(commandLine);
    if (started.ok()) {
        return std::nullopt;
    }
    return "Programmstart fehlgeschlagen: " + startFailureText(started);
}

}  // namespace somnar
