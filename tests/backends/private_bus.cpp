#include "backends/private_bus.h"

namespace somnar::test {

using namespace std::chrono_literals;

PrivateBus::PrivateBus(BusKind kind) {
    const auto config = folder_.path() / "bus.conf";
    writeFile(config,
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
              "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>session</type><listen>unix:path=" +
                  (folder_.path() / "socket").string() +
                  "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                  "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                  "<allow own=\"*\"/></policy></busconfig>\n");
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--config-file=" + config.string(),
                                 "--nofork", "--nopidfile", "--print-address"},
        (folder_.path() / "bus.log").string());
    const auto printed = daemon_->readLine(15s);
    if (printed && printed->starts_with("unix:")) {
        address_ = *printed;
        variable_.emplace(
            kind == BusKind::System ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS",
            address_);
    }
}

void BusTest::startPeer(const std::string& script, std::vector<std::string> args, BusKind kind) {
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/" + script,
        "--address",   (kind == BusKind::System ? system_ : session_).address(),
        "--record",    record(script).string()};
    argv.insert(argv.end(), args.begin(), args.end());
    peers_.erase(script);  // it would keep the name
    auto peer = std::make_unique<ChildProcess>(argv);
    const auto line = peer->readLine(15s);
    ASSERT_EQ(line, "READY") << script << " did not get ready";
    peers_[script] = std::move(peer);
}

}  // namespace somnar::test
