#include "platform/linux/linux_connectivity.h"

#include <tuple>

#include "backends/test_environment.h"

namespace somnar {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// One line of /proc/net/route as the kernel writes it.
std::string route(const std::string& interface, const std::string& destination,
                  const std::string& flags, const std::string& mask = "00000000") {
    return interface + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t100\t" + mask +
           "\t0\t0\t0";
}

const std::string kLan = route("eth0", "000200C0", "0001", "00FFFFFF");
const std::string kDefault = route("eth0", "00000000", "0003");

class ConnectivityTest : public test::BusTest {
  protected:
    // Every interface but wlan0 is usable; the interfaces looked at are noted in `asked_`.
    bool online(const Lines& lines, std::chrono::milliseconds timeout = 2s) {
        const auto table = folder_.path() / "route";
        std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        test::writeFile(table, text);
        asked_.clear();
        const auto usable = [this](const std::string& name) {
            asked_.push_back(name);
            return name != "wlan0";
        };
        return LinuxConnectivity(table, timeout, usable).isConnected();
    }

    Lines asked_;
};

// Without NetworkManager a default route that is up, not rejecting, not on the loopback
// and on a usable interface decides.
TEST_F(ConnectivityTest, DefaultRouteDecidesWithoutNetworkManager) {
    const std::tuple<Lines, bool, Lines> cases[] = {
        {{kLan, kDefault}, true, {"eth0"}},
        {{route("ppp0", "00000000", "0001")}, true, {"ppp0"}},  // point to point
        // 0.0.0.0/8 has the destination of a default route but not its mask.
        {{kLan, route("eth0", "00000000", "0001", "000000FF")}, false, {}},
        {{route("lo", "00000000", "0003")}, false, {}},
        {{route("eth0", "00000000", "0002")}, false, {}},  // not up
        {{route("*", "00000000", "0201")}, false, {}},     // unreachable
        {{route("wlan0", "00000000", "0003"), kDefault}, true, {"wlan0", "eth0"}},
        {{"eth0\t0000000G\t0\t0003\t0\t0\t0\t00000000\t0\t0\t0"}, false, {}}};
    for (const auto& [lines, connected, asked] : cases) {
        EXPECT_EQ(online(lines), connected) << lines.back();
        EXPECT_EQ(asked_, asked) << lines.back();
    }
}

// NetworkManager's verdict (NMConnectivityState) where it has one; the routes otherwise,
// also when it does not answer in time.
TEST_F(ConnectivityTest, NetworkManagerDecidesWhenItKnows) {
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

}  // namespace
}  // namespace somnar
