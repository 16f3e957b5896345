#include <arpa/inet.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "backends/test_environment.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_system_facts.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

// One entry of a stand-in tree for "/": a text file, a program or a link.
struct Entry {
    std::string path;
    std::string content;  // the text, or the link's target
    char kind = 't';      // 't', 'p' or 'l'
};

// alarm, alarm writable, clock in local time, resume device, swap KiB, memory in use KiB,
// peer, program
using Facts = std::tuple<bool, bool, bool, std::string, std::uint64_t, std::uint64_t, bool, bool>;

struct FactsCase {
    const char* name;
    std::vector<Entry> tree;
    Facts expected;
    std::string peer = "provider";
    std::string program = "pon";
};

constexpr const char* kAlarm = "sys/class/rtc/rtc0/wakealarm";
constexpr const char* kSwaps = "Filename\tType\tSize\tUsed\tPriority\n";
const Facts kNone{false, false, false, "", 0, 0, false, false};

const FactsCase kCases[] = {
    {"NothingThere", {}, kNone},
    {"EverythingThere",
     {{kAlarm, ""},
      {"etc/adjtime", "0.0 0 0.0\n0\nLOCAL\n"},
      {"sys/power/resume", "254:16\n"},
      {"proc/swaps", std::string(kSwaps) + "/dev/dm-1 partition\t999420\t0\t-2\n" +
                         "/swap\\040file file 1048572 0 -3\n"},
      {"proc/meminfo", "MemTotal:  16314460 kB\nMemFree:  1000 kB\nMemAvailable: 12000000 kB\n"},
      {"etc/ppp/peers/provider", "noauth\n"},
      {"usr/sbin/pon", "", 'p'}},
     {true, true, true, "254:16", 999420 + 1048572, 16314460 - 12000000, true, true}},
    // Read-only also for root.
    {"AlarmNotWritable",
     {{kAlarm, "/proc/sys/kernel/osrelease", 'l'}},
     {true, false, false, "", 0, 0, false, false}},
    {"AdjtimeWithoutThirdLine", {{"etc/adjtime", "0.0 0 0.0\nLOCAL\n"}}, kNone},
    {"NoResumeDevice", {{"sys/power/resume", "0:0\n"}}, kNone},
    {"MemAvailableAboveTotal",
     {{"proc/meminfo", "MemTotal: 2048 kB\nMemAvailable: 4096 kB\n"}},
     kNone},
    {"ProgramOnPath", {{"on-path/pon", "", 'p'}}, {false, false, false, "", 0, 0, false, true}},
    {"ProgramNotExecutable", {{"usr/bin/pon", "#!/bin/sh\n"}}, kNone},
    {"PeerNamedByAPath", {{"etc/ppp/options", "lock\n"}}, kNone, "../options"},
};

TEST(SystemFactsTest, ReadFromTheTree) {
    for (const FactsCase& c : kCases) {
        test::TempDir root;
        for (const Entry& entry : c.tree) {
            const fs::path path = root.path() / entry.path;
            fs::create_directories(path.parent_path());
            if (entry.kind == 'l') {
                fs::create_symlink(entry.content, path);
            } else {
                test::writeFile(path, entry.content);
                fs::permissions(path, entry.kind == 'p' ? fs::perms(0755) : fs::perms(0644));
            }
        }
        const test::ScopedEnv path("PATH", (root.path() / "on-path").string() + ":/nowhere");
        LinuxSystemFacts facts(root.path());
        EXPECT_EQ(
            Facts(facts.wakeAlarmExists(), facts.wakeAlarmWritable(), facts.clockKeepsLocalTime(),
                  facts.resumeDevice(), facts.swapBytes() / 1024, facts.memoryInUseBytes() / 1024,
                  facts.pppPeerExists(c.peer), facts.programAvailable(c.program)),
            c.expected)
            << c.name;
    }
}

Ipv4Address parse(const std::string& dotted) {
    Ipv4Address bytes{};
    EXPECT_EQ(::inet_pton(AF_INET, dotted.c_str(), bytes.data()), 1) << dotted;
    return bytes;
}

// The addresses of the interfaces that are up, as `ip` lists them; the host name as
// `hostname` prints it.
TEST(HostAddressTest, InterfaceAddressesAsIpListsThem) {
    LinuxHostAddress host;
    std::vector<Ipv4Address> up;
    std::istringstream addresses(
        test::commandOutput("ip -4 -o addr show up | awk '{ sub(\"/.*\", \"\", $4); print $4 }'"));
    for (std::string address; addresses >> address;) {
        up.push_back(parse(address));
    }
    std::vector<Ipv4Address> found = host.interfaceIpv4();
    std::sort(found.begin(), found.end());
    std::sort(up.begin(), up.end());
    EXPECT_EQ(found, up);
    EXPECT_EQ(host.resolveIpv4("10.0.0.1"), std::vector<Ipv4Address>{parse("10.0.0.1")});
    EXPECT_EQ(host.resolveIpv4("localhost"), std::vector<Ipv4Address>{parse("127.0.0.1")});
    EXPECT_TRUE(host.resolveIpv4("no-such-host.invalid").empty());
    EXPECT_EQ(host.hostName().name.value_or("") + "\n", test::commandOutput("hostname"));
}

}  // namespace
}  // namespace somnar
