#include "wake/after_wake_steps.h"

namespace somnar {

std::optional<std::string> DialStep::start(const DialupLogin& login) {
    const DialResult dialled = dialer_.dial(login.name, login.user, login.password);
    if (dialled.ok()) {
        return std::nullopt;
    }
    return "Einwahl fehlgeschlagen: " + texts_.dialFailure(dialled);
}

std::optional<std::string> ProgramStep::start(const std::string& commandLine) {
    const StartResult started = programs_.startDetached(commandLine);
    if (started.ok()) {
        return std::nullopt;
    }
    return "Programmstart fehlgeschlagen: " + texts_.startFailure(started);
}

}  // namespace somnar
