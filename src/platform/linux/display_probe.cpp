#include "platform/linux/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/linux/unique_fd.h"

namespace somnar {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The open connection when the X server answers, else none.
std::shared_ptr<void> xServerConnection(const std::string& display) {
    std::shared_ptr<xcb_connection_t> connection(xcb_connect(display.c_str(), nullptr),
                                                 &xcb_disconnect);
    if (!connection || xcb_connection_has_error(connection.get()) != 0) {
        return nullptr;
    }
    return connection;
}

// The compositor's socket: the name itself when it is a path, else in the runtime folder.
bool waylandAnswers(const std::string& display) {
    std::string path = display;
    if (path.front() != '/') {
        const std::string runtime = variable("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        path = runtime + "/" + display;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return socket.valid() && ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address),
                                       sizeof address) == 0;
}

}  // namespace

DisplayProbe probeDisplay() {
    const std::string wayland = variable("WAYLAND_DISPLAY");
    const std::string x11 = variable("DISPLAY");
    if (!variable("WAYLAND_SOCKET").empty() || (!wayland.empty() && waylandAnswers(wayland))) {
        return {DisplayState::Reachable, wayland, nullptr};
    }
    if (!x11.empty()) {
        if (std::shared_ptr<void> connection = xServerConnection(x11)) {
            return {DisplayState::Reachable, x11, std::move(connection)};
        }
    }
    if (x11.empty() && wayland.empty()) {
        return {};
    }
    return {DisplayState::Unreachable, x11.empty() ? wayland : x11, nullptr};
}

}  // namespace somnar
