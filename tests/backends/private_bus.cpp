#include "backends/private_bus.h"

#include <chrono>
#include <fstream>

namespace somnar::test {

namespace {

constexpr std::chrono::seconds kStartTimeout{15};

// Anyone may own any name and send anything: the stand-ins claim the system services' names.
// No <servicedir>, so nothing is started on demand and an unowned name stays unowned.
std::string busConfig(const std::filesystem::path& socket) {
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>unix:path=" +
           socket.string() +
           "</listen>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";
}

std::string readLog(const std::filesystem::path& log) {
    std::string text;
    for (const std::string& line : readLines(log)) {
        text += line + '\n';
    }
    return text;
}

}  // namespace

PrivateBus::PrivateBus(BusKind kind) {
    if (folder().empty()) {
        error_ = "cannot make a temporary folder";
        return;
    }
    const auto config = folder() / "bus.conf";
    const bool system = kind == BusKind::System;
    std::ofstream(config) << busConfig(folder() /
                                       (system ? "system_bus_socket" : "session_bus_socket"));
    // Its complaints (as root it cannot raise its file limit here) go to a log, not the test
    // output.
    const auto log = folder() / "bus.log";
    if (!daemon_.start({"/usr/bin/dbus-daemon", "--config-file=" + config.string(), "--nofork",
                        "--nopidfile", "--print-address"},
                       log.string())) {
        error_ = "cannot start /usr/bin/dbus-daemon";
        return;
    }
    // The address is printed once the daemon listens.
    const auto printed = daemon_.readLine(kStartTimeout);
    if (!printed || printed->rfind("unix:", 0) != 0) {
        error_ = "dbus-daemon printed no address; its log: " + readLog(log);
        return;
    }
    address_ = *printed;
    busAddress_.emplace(system ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS", address_);
}

PrivateBus::~PrivateBus() {
    busAddress_.reset();
    stop();
}

void PrivateBus::stop() {
    const std::lock_guard lock(daemonMutex_);
    daemon_.stop();
}

std::unique_ptr<ChildProcess> PrivateBus::startPeer(const std::string& script,
                                                    const std::vector<std::string>& args,
                                                    std::string& why) const {
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/" + script, "--address", address_};
    argv.insert(argv.end(), args.begin(), args.end());
    auto peer = std::make_unique<ChildProcess>();
    if (!peer->start(argv)) {
        why = "cannot start " + script;
        return nullptr;
    }
    const auto line = peer->readLine(kStartTimeout);
    if (line != "READY") {
        why = script + " did not get ready" + (line ? ": " + *line : std::string());
        return nullptr;
    }
    return peer;
}

}  // namespace somnar::test
