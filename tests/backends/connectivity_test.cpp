#include "platform/linux/linux_connectivity.h"

#include "backends/private_bus.h"
#include "backends/test_environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using Clock = std::chrono::steady_clock;
using test::commandOutput;
namespace fs = std::filesystem;

constexpr const char* kHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT";

// One line of /proc/net/route as the kernel writes it.
std::string route(const std::string& interface, const std::string& destination,
                  const std::string& flags, const std::string& mask) {
    return interface + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t100\t" + mask +
           "\t0\t0\t0";
}

const std::string kLanRoute = route("eth0", "000200C0", "0001", "00FFFFFF");

// Whether `ip` shows the interface up with its link, as the kernel tells it to `ip`.
bool ipShowsRunning(const std::string& interface) {
    const std::string line = commandOutput("ip -o link show dev " + interface + " 2>/dev/null");
    const auto open = line.find('<');
    const auto close = line.find('>');
    if (open == std::string::npos || close == std::string::npos) {
        return false;
    }
    std::set<std::string> flags;
    std::istringstream list(line.substr(open + 1, close - open - 1));
    for (std::string flag; std::getline(list, flag, ',');) {
        flags.insert(flag);
    }
    return flags.count("UP") != 0 && flags.count("LOWER_UP") != 0 && flags.count("LOOPBACK") == 0;
}

class ConnectivityTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }

    fs::path routeTable(const std::vector<std::string>& lines) {
        fs::path file = folder_.path() / ("route" + std::to_string(++tables_));
        std::ofstream out(file);
        out << kHeader << "\n";
        for (const std::string& line : lines) {
            out << line << "\n";
        }
        return file;
    }

    // The route check alone: no bus at all, every interface but `down` usable; the
    // interfaces asked about are recorded.
    bool routeCheck(const std::vector<std::string>& lines, const std::string& down = "") {
        const test::ScopedEnv noBus("DBUS_SYSTEM_BUS_ADDRESS",
                                    "unix:path=" + (folder_.path() / "no-bus").string());
        LinuxConnectivity connectivity(routeTable(lines), 1s, [&](const std::string& name) {
            asked_.push_back(name);
            return name != down;
        });
        return connectivity.isConnected();
    }

    test::TempDir folder_;
    int tables_ = 0;
    std::vector<std::string> asked_;
};

TEST_F(ConnectivityTest, DefaultRouteOnAnUsableInterfaceIsOnline) {
    EXPECT_TRUE(routeCheck({kLanRoute, route("eth0", "00000000", "0003", "00000000")}));
    EXPECT_THAT(asked_, ElementsAre("eth0"));
}

TEST_F(ConnectivityTest, PointToPointDefaultRouteWithoutGatewayIsOnline) {
    EXPECT_TRUE(routeCheck({route("ppp0", "00000000", "0001", "00000000")}));
}

TEST_F(ConnectivityTest, NoDefaultRouteIsOffline) {
    EXPECT_FALSE(routeCheck({kLanRoute, route("eth0", "0000000A", "0001", "000000FF")}));
}

TEST_F(ConnectivityTest, ZeroNetworkWithAMaskIsNoDefaultRoute) {
    // 0.0.0.0/8 has the destination of a default route but not its mask.
    EXPECT_FALSE(routeCheck({route("eth0", "00000000", "0001", "000000FF")}));
}

TEST_F(ConnectivityTest, DefaultRouteOnLoopbackIsOffline) {
    EXPECT_FALSE(routeCheck({route("lo", "00000000", "0003", "00000000")}));
    EXPECT_TRUE(asked_.empty());
}

TEST_F(ConnectivityTest, DefaultRouteNotUpIsOffline) {
    EXPECT_FALSE(routeCheck({route("eth0", "00000000", "0002", "00000000")}));
}

TEST_F(ConnectivityTest, UnreachableDefaultRouteIsOffline) {
    // "ip route add unreachable default": up, but rejecting.
    EXPECT_FALSE(routeCheck({route("*", "00000000", "0201", "00000000")}));
}

TEST_F(ConnectivityTest, DefaultRouteOnAnInterfaceThatIsDownIsOffline) {
    EXPECT_FALSE(routeCheck({route("wlan0", "00000000", "0003", "00000000")}, "wlan0"));
    EXPECT_THAT(asked_, ElementsAre("wlan0"));
}

TEST_F(ConnectivityTest, AnyOfSeveralDefaultRoutesWillDo) {
    EXPECT_TRUE(routeCheck({route("wlan0", "00000000", "0003", "00000000"),
                            route("eth0", "00000000", "0003", "00000000")},
                           "wlan0"));
    EXPECT_THAT(asked_, ElementsAre("wlan0", "eth0"));
}

TEST_F(ConnectivityTest, MissingOrGarbledTableIsOffline) {
    const test::ScopedEnv noBus("DBUS_SYSTEM_BUS_ADDRESS",
                                "unix:path=" + (folder_.path() / "no-bus").string());
    const auto anyInterface = [](const std::string&) { return true; };
    EXPECT_FALSE(LinuxConnectivity(folder_.path() / "missing", 1s, anyInterface).isConnected());
    EXPECT_FALSE(routeCheck({"eth0 00000000"}));
    EXPECT_FALSE(routeCheck({"eth0\t0000000G\t00000000\t0003\t0\t0\t0\t00000000\t0\t0\t0"}));
}

TEST_F(ConnectivityTest, RealInterfaceCheck) {
    EXPECT_FALSE(interfaceIsRunning("lo"));  // up, but loopback
    EXPECT_FALSE(interfaceIsRunning("nosuch0"));
    for (const char* name : {"eth0", "ifb0"}) {
        EXPECT_EQ(interfaceIsRunning(name), ipShowsRunning(name)) << name;
    }
}

TEST_F(ConnectivityTest, ThisMachineIsOnlineWhenIpShowsADefaultRoute) {
    // Expected from `ip`: a default route through an interface that is up with its link.
    bool expected = false;
    std::istringstream lines(commandOutput("ip -4 route show default"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) {
            tokens.push_back(word);
        }
        if (tokens.empty() || tokens[0] != "default") {
            continue;  // unreachable, blackhole, ...: no "default" first
        }
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            if (tokens[i] == "dev" && tokens[i + 1] != "lo" && ipShowsRunning(tokens[i + 1])) {
                expected = true;
            }
        }
    }
    const test::ScopedEnv noBus("DBUS_SYSTEM_BUS_ADDRESS",
                                "unix:path=" + (folder_.path() / "no-bus").string());
    EXPECT_EQ(LinuxConnectivity().isConnected(), expected);
}

class NetworkManagerConnectivityTest : public ConnectivityTest {
  protected:
    void SetUp() override {
        ConnectivityTest::SetUp();
        ASSERT_TRUE(bus_.ok()) << bus_.error();
    }

    void startNetworkManager(const std::vector<std::string>& args) {
        std::string why;
        networkManager_ = bus_.startPeer("fake_networkmanager.py", args, why);
        ASSERT_NE(networkManager_, nullptr) << why;
    }

    bool isConnected(const std::vector<std::string>& lines,
                     std::chrono::milliseconds timeout = 2s) {
        return LinuxConnectivity(routeTable(lines), timeout,
                                 [](const std::string&) { return true; })
            .isConnected();
    }

    test::PrivateBus bus_;
    std::unique_ptr<test::ChildProcess> networkManager_;
};

const std::string kDefaultRoute = route("eth0", "00000000", "0003", "00000000");

TEST_F(NetworkManagerConnectivityTest, FullConnectivityIsOnlineWithoutLookingAtRoutes) {
    startNetworkManager({"--connectivity", "4"});
    EXPECT_TRUE(isConnected({kLanRoute}));
}

TEST_F(NetworkManagerConnectivityTest, NoConnectivityIsOfflineDespiteADefaultRoute) {
    startNetworkManager({"--connectivity", "1"});
    EXPECT_FALSE(isConnected({kDefaultRoute}));
}

TEST_F(NetworkManagerConnectivityTest, PortalAndLimitedAreOffline) {
    startNetworkManager({"--connectivity", "2"});
    EXPECT_FALSE(isConnected({kDefaultRoute}));
    networkManager_.reset();
    startNetworkManager({"--connectivity", "3"});
    EXPECT_FALSE(isConnected({kDefaultRoute}));
}

TEST_F(NetworkManagerConnectivityTest, UnknownFallsBackToTheRoutes) {
    startNetworkManager({"--connectivity", "0", "--state", "70"});
    EXPECT_TRUE(isConnected({kLanRoute, kDefaultRoute}));
    EXPECT_FALSE(isConnected({kLanRoute}));
}

TEST_F(NetworkManagerConnectivityTest, BusWithoutNetworkManagerFallsBackToTheRoutes) {
    const auto start = Clock::now();
    EXPECT_TRUE(isConnected({kDefaultRoute}, 5s));
    EXPECT_FALSE(isConnected({kLanRoute}, 5s));
    EXPECT_LT(Clock::now() - start, 2s);  // the bus says at once that no one owns the name
}

TEST_F(NetworkManagerConnectivityTest, StalledNetworkManagerFallsBackWithinTheTimeout) {
    startNetworkManager({"--stall", "Get"});
    const auto start = Clock::now();
    EXPECT_TRUE(isConnected({kDefaultRoute}, 500ms));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 450ms);
    EXPECT_LT(took, 3s);
}

}  // namespace
}  // namespace somnar
