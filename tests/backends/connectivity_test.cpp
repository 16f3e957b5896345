#include "platform/linux/linux_connectivity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "backends/private_bus.h"

namespace somnar {
namespace {

using namespace std::chrono_literals;

// One line of /proc/net/route as the kernel writes it.
std::string route(const std::string& interface, const std::string& destination,
                  const std::string& flags, const std::string& mask) {
    return interface + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t100\t" + mask +
           "\t0\t0\t0";
}

const std::string kLan = route("eth0", "000200C0", "0001", "00FFFFFF");
const std::string kDefault = route("eth0", "00000000", "0003", "00000000");

struct RouteCase {
    const char* name;
    std::vector<std::string> lines;
    bool online;
    std::vector<std::string> asked;  // the interfaces looked at, in order
};

const RouteCase kRoutes[] = {
    {"DefaultRouteOnAnUsableInterface", {kLan, kDefault}, true, {"eth0"}},
    {"PointToPointWithoutGateway", {route("ppp0", "00000000", "0001", "00000000")}, true, {"ppp0"}},
    {"NoDefaultRoute", {kLan, route("eth0", "0000000A", "0001", "000000FF")}, false, {}},
    // 0.0.0.0/8 has the destination of a default route but not its mask.
    {"ZeroNetworkWithAMask", {route("eth0", "00000000", "0001", "000000FF")}, false, {}},
    {"OnLoopback", {route("lo", "00000000", "0003", "00000000")}, false, {}},
    {"RouteNotUp", {route("eth0", "00000000", "0002", "00000000")}, false, {}},
    // "ip route add unreachable default": up, but rejecting.
    {"Unreachable", {route("*", "00000000", "0201", "00000000")}, false, {}},
    {"InterfaceDown", {route("wlan0", "00000000", "0003", "00000000")}, false, {"wlan0"}},
    {"AnyOfSeveral",
     {route("wlan0", "00000000", "0003", "00000000"), kDefault},
     true,
     {"wlan0", "eth0"}},
    {"Garbled", {"eth0 00000000"}, false, {}},
    {"BadHex", {"eth0\t0000000G\t00000000\t0003\t0\t0\t0\t00000000\t0\t0\t0"}, false, {}},
};

class RouteTest : public test::BusTest, public ::testing::WithParamInterface<RouteCase> {
  protected:
    // The routes alone (no NetworkManager); every interface but wlan0 usable.
    bool online(const std::vector<std::string>& lines, std::chrono::milliseconds timeout = 2s) {
        const auto table = folder_.path() / "route";
        std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        test::writeFile(table, text);
        return LinuxConnectivity(table, timeout,
                                 [this](const std::string& name) {
                                     asked_.push_back(name);
                                     return name != "wlan0";
                                 })
            .isConnected();
    }

    std::vector<std::string> asked_;
};

TEST_P(RouteTest, DefaultRouteDecides) {
    EXPECT_EQ(online(GetParam().lines), GetParam().online);
    EXPECT_EQ(asked_, GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(Routes, RouteTest, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RouteTest, MissingTableIsOffline) {
    EXPECT_FALSE(LinuxConnectivity(folder_.path() / "missing", 1s).isConnected());
}

// NetworkManager's verdict (NMConnectivityState) where it has one; the routes otherwise.
TEST_F(RouteTest, NetworkManagerDecidesWhenItKnows) {
    const struct {
        const char* connectivity;
        bool withDefault, withoutDefault;
    } cases[] = {{"4", true, true},
                 {"1", false, false},
                 {"2", false, false},
                 {"3", false, false},
                 {"0", true, false}};
    for (const auto& c : cases) {
        startPeer("fake_networkmanager.py", {"--connectivity", c.connectivity});
        EXPECT_EQ(online({kDefault}), c.withDefault) << c.connectivity;
        EXPECT_EQ(online({kLan}), c.withoutDefault) << c.connectivity;
    }
    stopPeer("fake_networkmanager.py");
    EXPECT_TRUE(online({kDefault}));
    startPeer("fake_networkmanager.py", {"--stall", "Get"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(online({kDefault}, 500ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 450ms);
}

// This machine, as `ip` sees it: up with its link, and not the loopback.
bool ipShowsRunning(const std::string& interface) {
    const std::string line = test::commandOutput("ip -o link show dev " + interface + " 2>&1");
    const auto open = line.find('<');
    const std::string flags = "," + line.substr(open + 1, line.find('>') - open - 1) + ",";
    return open != std::string::npos && flags.find(",UP,") != std::string::npos &&
           flags.find(",LOWER_UP,") != std::string::npos &&
           flags.find(",LOOPBACK,") == std::string::npos;
}

TEST(ConnectivityOfThisMachineTest, InterfacesAreRunningAsIpShowsThem) {
    EXPECT_FALSE(interfaceIsRunning("lo"));
    EXPECT_FALSE(interfaceIsRunning("nosuch0"));
    for (const char* name : {"eth0", "ifb0"}) {
        EXPECT_EQ(interfaceIsRunning(name), ipShowsRunning(name)) << name;
    }
}

}  // namespace
}  // namespace somnar
