// What the machine offers: its facts, starting programs, its connection.

#include "platform/linux/linux_connectivity.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_program_starter.h"
#include "platform/linux/linux_system_facts.h"

#include <tuple>

#include "backends/test_environment.h"

namespace somnar {
namespace {

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
    {"ProgramOnPath", {{"on-path/pon", "", 'p'}}, {false, false, false, "", 0, 0, false, true}},
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

// The loopback's address is among those of the interfaces that are up, once.
TEST(HostAddressTest, AddressesOfTheInterfacesThatAreUp) {
    const auto found = LinuxHostAddress().interfaceIpv4();
    EXPECT_EQ(std::count(found.begin(), found.end(), Ipv4Address{127, 0, 0, 1}), 1);
}

// The command lines name files in a fresh folder by "$T" (written so also into scripts);
// each started program writes one line to "$T/marker".
struct StartCase {
    std::string line;
    std::string marker;  // the line the program wrote; empty: nothing may be started
    StartError error = StartError::None;
    std::string detail = {};
};

const StartCase kStarts[] = {
    {"  $T/meine Programme/nach dem Wecken\t", "0 Argumente"},  // one program with blanks
    {"$T/wecken.sh", "$T/wecken.sh"},   // a shell script without execute bit, through sh
    {"$T/wecken.py eins", "python 2"},  // its interpreter line with its argument
    {"/bin/sh -c 'echo \"$1|$2\" > $T/marker' sh \"zwei Worte\" drei", "zwei Worte|drei"},
    {"sh -c 'echo \"$0\" > \"$0\"' $SOMNAR_MARKER", "$T/marker"},  // PATH and variables
    {" \t ", "", StartError::NoProgram},
    {"/bin/echo hallo > $T/marker", "", StartError::NeedsShell},
    {"/bin/echo $(id)", "", StartError::NeedsShell},
    {"/bin/sh -c 'echo hallo", "", StartError::Unreadable, "/bin/sh -c 'echo hallo"},
    {"kein-solches-programm --hilfe", "", StartError::NotFound, "kein-solches-programm"},
    {"$T/fehlt/programm --jetzt", "", StartError::NoSuchFile, "$T/fehlt/programm"},
    {"$T/notizen.txt", "", StartError::NotExecutable, "$T/notizen.txt"},
    {"$T/kaputt", "", StartError::Failed, "$T/kaputt"},  // its interpreter is missing
};

TEST(ProgramStarterTest, StartsOrSaysWhyNot) {
    const test::TempDir folder;
    const fs::path marker = folder.path() / "marker";
    const test::ScopedEnv variable("SOMNAR_MARKER", marker.string());
    const auto withFolder = [&](std::string text) {
        for (std::size_t at; (at = text.find("$T")) != std::string::npos;) {
            text.replace(at, 2, folder.path().string());
        }
        return text;
    };
    fs::create_directory(folder.path() / "meine Programme");
    for (const auto& [name, text, mode] :
         {std::tuple{"meine Programme/nach dem Wecken",
                     "#!/bin/sh\necho \"$# Argumente\" > '$T/marker'\n", 0755},
          {"wecken.sh", "echo \"$0\" > '$T/marker'\n", 0644},
          {"wecken.py",
           "#!/usr/bin/python3 -S\nimport sys\n"
           "open('$T/marker', 'w').write('python ' + str(len(sys.argv)) + '\\n')\n",
           0644},
          {"notizen.txt", "echo nein > '$T/marker'\n", 0644},
          {"kaputt", "#!$T/kein-interpreter\n", 0644}}) {
        test::writeFile(folder.path() / name, withFolder(text));
        fs::permissions(folder.path() / name, fs::perms(mode));
    }
    for (const StartCase& c : kStarts) {
        fs::remove(marker);
        const StartResult result = LinuxProgramStarter().startDetached(withFolder(c.line));
        EXPECT_EQ(result.error, c.error) << c.line;
        EXPECT_EQ(result.detail, withFolder(c.detail));
        if (c.marker.empty()) {
            std::this_thread::sleep_for(100ms);
            EXPECT_FALSE(fs::exists(marker)) << c.line;
        } else {
            EXPECT_TRUE(test::waitForLine(marker, withFolder(c.marker))) << c.line;
        }
    }
}

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
    // Every interface but wlan0 is usable.
    bool online(const Lines& lines, std::chrono::milliseconds timeout = 2s) {
        const auto table = folder_.path() / "route";
        std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        test::writeFile(table, text);
        const auto usable = [](const std::string& name) { return name != "wlan0"; };
        return LinuxConnectivity(table, timeout, usable).isConnected();
    }
};

// Without NetworkManager a default route that is up, not rejecting, not on the loopback
// and on a usable interface decides.
TEST_F(ConnectivityTest, DefaultRouteDecidesWithoutNetworkManager) {
    const std::pair<Lines, bool> cases[] = {
        {{kLan, kDefault}, true},
        {{route("ppp0", "00000000", "0001")}, true},  // point to point
        // 0.0.0.0/8 has the destination of a default route but not its mask.
        {{kLan, route("eth0", "00000000", "0001", "000000FF")}, false},
        {{route("lo", "00000000", "0003")}, false},
        {{route("eth0", "00000000", "0002")}, false},  // not up
        {{route("*", "00000000", "0201")}, false},     // unreachable
        {{route("wlan0", "00000000", "0003")}, false},
        {{route("wlan0", "00000000", "0003"), kDefault}, true},
        {{"eth0\t0000000G\t0\t0003\t0\t0\t0\t00000000\t0\t0\t0"}, false}};
    for (const auto& [lines, connected] : cases) {
        EXPECT_EQ(online(lines), connected) << lines.back();
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
    EXPECT_TRUE(online({kDefault}, 500ms));
}

}  // namespace
}  // namespace somnar
