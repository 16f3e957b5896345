// What the machine offers: its facts, program starts, its connection, wake alarms, local time.

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <QLocale>
#include <tuple>
#include "backends/test_environment.h"
#include "platform/linux/linux_connectivity.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_program_starter.h"
#include "platform/linux/linux_system_facts.h"
#include "platform/linux/linux_wake_alarm.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/timer_fd_alarm.h"

namespace somnar {
namespace {

using namespace std::chrono;

// alarm, alarm writable, clock in local time, resume device, swap KiB, memory in use KiB,
// peer, program
using Facts = std::tuple<bool, bool, bool, std::string, std::uint64_t, std::uint64_t, bool, bool>;

// A stand-in tree for "/": each file with its text, "#!..." making it a program and
// "-> target" a link.
struct FactsCase {
    const char* name;
    std::map<std::string, std::string> tree;
    Facts expected;
    std::string peer = "provider";
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
      {"usr/sbin/pon", "#!/bin/sh\n"}},
     {true, true, true, "254:16", 999420 + 1048572, 16314460 - 12000000, true, true}},
    // Read-only also for root.
    {"AlarmNotWritable",
     {{kAlarm, "-> /proc/sys/kernel/osrelease"}},
     {true, false, false, "", 0, 0, false, false}},
    {"AdjtimeWithoutThirdLine", {{"etc/adjtime", "0.0 0 0.0\nLOCAL\n"}}, kNone},
    {"NoResumeDevice", {{"sys/power/resume", "0:0\n"}}, kNone},
    {"ProgramOnPath",
     {{"on-path/pon", "#!/bin/sh\n"}},
     {false, false, false, "", 0, 0, false, true}},
    {"PeerNamedByAPath", {{"etc/ppp/options", "lock\n"}}, kNone, "../options"},
};

TEST(SystemFactsTest, ReadFromTheTree) {
    for (const FactsCase& c : kCases) {
        test::TempDir root;
        for (const auto& [name, text] : c.tree) {
            const fs::path path = root.path() / name;
            fs::create_directories(path.parent_path());
            if (text.starts_with("-> ")) {
                fs::create_symlink(text.substr(3), path);
            } else {
                test::writeFile(path, text);
                fs::permissions(path, text.starts_with("#!") ? fs::perms(0755) : fs::perms(0644));
            }
        }
        const test::ScopedEnv path("PATH", (root.path() / "on-path").string() + ":/nowhere");
        LinuxSystemFacts facts(root.path());
        EXPECT_EQ(
            Facts(facts.wakeAlarmExists(), facts.wakeAlarmWritable(), facts.clockKeepsLocalTime(),
                  facts.resumeDevice(), facts.swapBytes() / 1024, facts.memoryInUseBytes() / 1024,
                  facts.pppPeerExists(c.peer), facts.programAvailable("pon")),
            c.expected)
            << c.name;
    }
}

// An interface that is down publishes nothing; neither do other families nor an entry
// without an address. The loopback counts as any interface that is up.
TEST(HostAddressTest, AddressesOfTheInterfacesThatAreUp) {
    const auto found = LinuxHostAddress().interfaceIpv4();
    EXPECT_EQ(std::count(found.begin(), found.end(), Ipv4Address{127, 0, 0, 1}), 1);
    const std::tuple<unsigned, sa_family_t, Ipv4Address> rows[] = {
        {IFF_UP | IFF_LOOPBACK, AF_INET, {127, 0, 0, 1}},
        {IFF_RUNNING, AF_INET, {10, 0, 0, 2}},
        {IFF_UP, AF_INET6, {10, 0, 0, 3}},
        {IFF_UP | IFF_RUNNING, AF_INET, {192, 168, 1, 5}}};
    std::vector<sockaddr_in> addresses(std::size(rows));
    std::vector<ifaddrs> list(std::size(rows) + 1, ifaddrs{});  // the last without an address
    list.back().ifa_flags = IFF_UP;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& [flags, family, address] = rows[i];
        addresses[i].sin_family = family;
        std::memcpy(&addresses[i].sin_addr, address.data(), address.size());
        list[i].ifa_next = &list[i + 1];
        list[i].ifa_flags = flags;
        list[i].ifa_addr = reinterpret_cast<sockaddr*>(&addresses[i]);
    }
    EXPECT_EQ(ipv4OfInterfacesUp(list.data()),
              (std::vector<Ipv4Address>{{127, 0, 0, 1}, {192, 168, 1, 5}}));
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
    for (const auto& [name, text] :
         {std::pair{"meine Programme/nach dem Wecken",
                    "#!/bin/sh\necho \"$# Argumente\" > '$T/marker'\n"},
          {"wecken.sh", "echo \"$0\" > '$T/marker'\n"},
          {"wecken.py",
           "#!/usr/bin/python3 -S\nimport sys\n"
           "open('$T/marker', 'w').write('python ' + str(len(sys.argv)) + '\\n')\n"},
          {"notizen.txt", "echo nein > '$T/marker'\n"},
          {"kaputt", "#!$T/kein-interpreter\n"}}) {
        test::writeFile(folder.path() / name, withFolder(text));  // not executable
    }
    fs::permissions(folder.path() / "meine Programme/nach dem Wecken", fs::perms(0755));
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

using ConnectivityTest = test::BusTest;

// NetworkManager's verdict where it has one, else a usable default route.
TEST_F(ConnectivityTest, NetworkManagerDecidesWhenItKnowsElseTheDefaultRoute) {
    const auto online = [this](const Lines& lines, std::chrono::milliseconds timeout = 2s) {
        std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        test::writeFile(folder_.path() / "route", text);
        // Every interface but wlan0 is usable.
        const auto usable = [](const std::string& name) { return name != "wlan0"; };
        return LinuxConnectivity(folder_.path() / "route", timeout, usable).isConnected();
    };
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
    // NetworkManager's verdict (NMConnectivityState) where it has one.
    for (const auto& [connectivity, withDefault, withoutDefault] :
         {std::tuple{"4", true, true}, {"2", false, false}, {"0", true, false}}) {
        startPeer("fake_networkmanager.py", {"--connectivity", connectivity});
        EXPECT_EQ(online({kDefault}), withDefault) << connectivity;
        EXPECT_EQ(online({kLan}), withoutDefault) << connectivity;
    }
    startPeer("fake_networkmanager.py", {"--stall", "Get"});
    EXPECT_TRUE(online({kDefault}, 500ms));
}

sys_seconds nowSeconds() {
    return floor<seconds>(system_clock::now());
}

TEST(StandbyWakeAlarmTest, TimerOnTheAlarmClockExpiresAtTheDueTimeOrNamesThisProgramFile) {
    const sys_seconds due = nowSeconds() + 2s;
    AlarmResult result = LinuxWakeAlarm().arm(SleepState::Standby, due);
    if (result.error == AlarmError::NoAlarmClock || result.error == AlarmError::NoPermission) {
        GTEST_SKIP() << "no alarm timers or no CAP_WAKE_ALARM here";
    }
    ASSERT_TRUE(result.ok());
    const auto* timer = dynamic_cast<const TimerFdAlarm*>(result.alarm.get());
    ASSERT_NE(timer, nullptr);
    const int fd = timer->fd();
    // CLOCK_REALTIME_ALARM is clock 8; settime flag 1 is TFD_TIMER_ABSTIME.
    const std::string info = test::contentOf("/proc/self/fdinfo/" + std::to_string(fd));
    EXPECT_NE(info.find("clockid: 8\n"), std::string::npos) << info;
    EXPECT_NE(info.find("settime flags: 01\n"), std::string::npos) << info;
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    pollfd ready{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 0) << "expired before its time";
    ASSERT_EQ(::poll(&ready, 1, 5000), 1) << "did not expire within 5 s";
    EXPECT_GE(system_clock::now(), due);
    result.alarm.reset();
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "the timer fd stays open";
    // Without CAP_WAKE_ALARM (as "nobody") the program file to grant it to is named.
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    EXPECT_TRUE(test::asNobody([&] {
        const AlarmResult refused = LinuxWakeAlarm().arm(SleepState::Standby, due + 1h);
        return refused.error == AlarmError::NoPermission && !refused.alarm &&
               refused.detail == self && refused.systemError.empty();
    }));
}

// Cleared before it is set and when taken back; a clock kept in local time (the third line
// of adjtime) gets the local wall clock.
TEST(ClockAlarmTest, ClearsTheClockThenSetsTheDueTimeOrNamesTheClocksFile) {
    // A folder standing in for /sys/class/rtc/rtc0.
    const test::TempDir rtc;
    const fs::path wakealarm = rtc.path() / "wakealarm", adjtime = rtc.path() / "adjtime";
    const auto arm = [&](sys_seconds due, SleepState state = SleepState::Hibernate) {
        return LinuxWakeAlarm(rtc.path(), adjtime).arm(state, due);
    };
    // A named pipe keeps every write in order; opened for both, it never blocks a writer.
    ASSERT_EQ(::mkfifo(wakealarm.c_str(), 0600), 0);
    const int pipe = ::open(wakealarm.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const auto drain = [pipe] {
        std::string written(256, '\0');
        const ssize_t count = ::read(pipe, written.data(), written.size());
        written.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
        return written;
    };
    const test::ScopedEnv zone("TZ", "Europe/Berlin");
    const sys_seconds summer = sys_days{2040y / July / 1} + 10h;
    for (const auto& [lines, shift] : {std::pair{"", 0h},
                                       {"0.0 0 0.0\n0\n  LOCAL \n", 2h},
                                       {"0.0 0 0.0\n0\nUTC\n", 0h},
                                       {"0.0 0 0.0\nLOCAL\n", 0h}}) {
        test::writeFile(adjtime, lines);
        AlarmResult result = arm(summer);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(drain(),
                  "0\n" + std::to_string((summer + shift).time_since_epoch().count()) + "\n")
            << lines;
        result.alarm.reset();
        EXPECT_EQ(drain(), "0\n");
    }
    ::close(pipe);
    fs::remove(wakealarm);
    // Every refusal names the clock's file; a due time that has come is refused before any
    // clock is touched.
    const auto refused = [&](AlarmError error, std::string systemError) {
        const AlarmResult result = arm(nowSeconds() + 1h);
        return result.error == error && !result.alarm && result.detail == wakealarm.string() &&
               result.systemError == systemError;
    };
    // A clock whose driver cannot wake the machine has no wakealarm file.
    EXPECT_TRUE(refused(AlarmError::NoAlarmClock, ""));
    // As sysfs offers it: 0644 and owned by root.
    test::writeFile(wakealarm, "untouched");
    fs::permissions(rtc.path(), fs::perms(0755));
    fs::permissions(wakealarm, fs::perms(::geteuid() == 0 ? 0644 : 0444));
    EXPECT_TRUE(test::asNobody([&] { return refused(AlarmError::NoPermission, ""); }));
    EXPECT_EQ(arm(nowSeconds(), SleepState::Standby).error, AlarmError::NotInFuture);
    EXPECT_EQ(arm(nowSeconds()).error, AlarmError::NotInFuture);
    EXPECT_EQ(test::contentOf(wakealarm), "untouched");
}

sys_seconds onCalendar(const LocalDateTime& t) {
    return sys_days{year{t.year} / t.month / t.day} + hours{t.hour} + minutes{t.minute} +
           seconds{t.second};
}

// A wake-up set across a change to or from summer time comes at the time the user picked:
// a skipped time counts with the offset before the change, a repeated one is its first.
TEST(SystemClockTest, LocalTimesBecomeUtcByTheRulesOfTheirOwnDate) {
    const struct {
        const char* zone;
        LocalDateTime local;
        std::optional<LocalDateTime> utc;
    } cases[] = {{"Europe/Berlin", {2026, 7, 15, 12, 0, 42}, {{2026, 7, 15, 10, 0, 42}}},
                 {"Europe/Berlin", {2027, 3, 28, 2, 30, 0}, {{2027, 3, 28, 1, 30, 0}}},
                 {"Europe/Berlin", {2026, 10, 25, 2, 30, 0}, {{2026, 10, 25, 0, 30, 0}}},
                 // Changes of standard time, which the summer-time flag cannot tell.
                 {"Europe/Moscow", {2014, 10, 26, 1, 30, 0}, {{2014, 10, 25, 21, 30, 0}}},
                 {"Pacific/Apia", {2011, 12, 31, 12, 0, 0}, {{2011, 12, 30, 22, 0, 0}}},
                 {"UTC0", {2027, 2, 29, 12, 0, 0}, {}}};
    const SystemClock clock(QLocale::c());
    for (const auto& c : cases) {
        const test::ScopedEnv zone("TZ", c.zone);
        const auto expected = c.utc ? std::optional(onCalendar(*c.utc)) : std::nullopt;
        EXPECT_EQ(clock.localToUtc(c.local), expected)
            << c.zone << " " << c.local.day << "." << c.local.month << ". " << c.local.hour;
    }
}

}  // namespace
}  // namespace somnar
