#include "platform/linux/linux_connectivity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "backends/test_environment.h"

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
void PrintTo(const RouteCase& c, std::ostream* out) {
    *out << c.name;
}

class RouteTest : public test::BusTest, public ::testing::WithParamInterface<RouteCase> {
  protected:
    // The routes alone when NetworkManager does not answer; every interface but wlan0 usable.
    bool online(const std::vector<std::string>& lines, std::chrono::milliseconds timeout = 2s) {
        const auto table = folder_.path() / "route";
        std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        test::writeFile(table, text);
        const auto usable = [this](const std::string& name) {
            asked_.push_back(name);
            return name != "wlan0";
        };
        return LinuxConnectivity(table, timeout, usable).isConnected();
    }

    std::vector<std::string> asked_;
};

TEST_P(RouteTest, DefaultRouteDecides) {
    EXPECT_EQ(online(GetParam().lines), GetParam().online);
    EXPECT_EQ(asked_, GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, RouteTest,
    ::testing::Values(
        RouteCase{"DefaultRoute", {kLan, kDefault}, true, {"eth0"}},
        RouteCase{"PointToPoint", {route("ppp0", "00000000", "0001", "00000000")}, true, {"ppp0"}},
        // 0.0.0.0/8 has the destination of a default route but not its mask.
        RouteCase{"ZeroNetwork", {kLan, route("eth0", "00000000", "0001", "000000FF")}, false, {}},
        RouteCase{"OnLoopback", {route("lo", "00000000", "0003", "00000000")}, false, {}},
        RouteCase{"NotUp", {route("eth0", "00000000", "0002", "00000000")}, false, {}},
        // "ip route add unreachable default": up, but rejecting.
        RouteCase{"Unreachable", {route("*", "00000000", "0201", "00000000")}, false, {}},
        RouteCase{"FirstUsableOfSeveral",
                  {route("wlan0", "00000000", "0003", "00000000"), kDefault},
                  true,
                  {"wlan0", "eth0"}},
        RouteCase{"BadHex", {"eth0\t0000000G\t0\t0003\t0\t0\t0\t00000000\t0\t0\t0"}, false, {}}),
    test::ByName());

// NetworkManager's verdict (NMConnectivityState) where it has one; the routes otherwise,
// also when it does not answer in time.
TEST_F(RouteTest, NetworkManagerDecidesWhenItKnows) {
    for (const auto& [connectivity, withDefault, withoutDefault] :
         {std::tuple{"4", true, true}, {"2", false, false}, {"0", true, false}}) {
        startPeer("fake_networkmanager.py", {"--connectivity", connectivity});
        EXPECT_EQ(online({kDefault}), withDefault) << connectivity;
        EXPECT_EQ(online({kLan}), withoutDefault) << connectivity;
    }
    startPeer("fake_networkmanager.py", {"--stall", "Get"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(online({kDefault}, 500ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 450ms);
}

// This machine, as `ip` sees it: up with its link, and not the loopback.
TEST(ConnectivityOfThisMachineTest, InterfacesAreRunningAsIpShowsThem) {
    EXPECT_FALSE(interfaceIsRunning("lo"));
    EXPECT_FALSE(interfaceIsRunning("nosuch0"));
    for (const std::string name : {"eth0", "ifb0"}) {
        const std::string line = test::commandOutput("ip -o link show dev " + name);
        const auto open = line.find('<');
        const std::string flags = "," + line.substr(open + 1, line.find('>') - open - 1) + ",";
        EXPECT_EQ(interfaceIsRunning(name), open != std::string::npos &&
                                                flags.find(",UP,") != std::string::npos &&
                                                flags.find(",LOWER_UP,") != std::string::npos)
            << name;
    }
}

}  // namespace
}  // namespace somnar
