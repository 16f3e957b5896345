#include "platform/linux/linux_system_facts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

// One entry of the stand-in tree below the root.
struct Entry {
    enum Kind { kText, kProgram, kLink, kFolder };
    std::string path;
    std::string content;  // the text, or the link's target
    Kind kind = kText;
};

// Everything the facts tell, for one peer and one program name.
struct Facts {
    bool alarm = false;
    bool alarmWritable = false;
    bool localTime = false;
    std::string resume;
    std::uint64_t swapKiB = 0;
    std::uint64_t inUseKiB = 0;
    bool peer = false;
    bool program = false;
    bool operator==(const Facts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Facts& f) {
    return out << "alarm " << f.alarm << " writable " << f.alarmWritable << " local " << f.localTime
               << " resume '" << f.resume << "' swap " << f.swapKiB << " KiB in use " << f.inUseKiB
               << " KiB peer " << f.peer << " program " << f.program;
}

struct FactsCase {
    const char* name;
    std::vector<Entry> tree;
    Facts expected;
    std::string peer = "provider";
    std::string program = "pon";
};

constexpr const char* kAlarm = "sys/class/rtc/rtc0/wakealarm";
constexpr const char* kSwapsHeading = "Filename\tType\tSize\tUsed\tPriority\n";

const FactsCase kCases[] = {
    {"NothingThere", {}, {}},
    {"WritableAlarmLocalClockResumeSwapMemoryPeerProgram",
     {{kAlarm, ""},
      {"etc/adjtime", "0.0 0 0.0\n0\nLOCAL\n"},
      {"sys/power/resume", "254:16\n"},
      {"proc/swaps", std::string(kSwapsHeading) + "/dev/dm-1 partition\t999420\t0\t-2\n" +
                         "/swap\\040file file 1048572 0 -3\n"},
      {"proc/meminfo", "MemTotal:  16314460 kB\nMemFree:  1000 kB\nMemAvailable: 12000000 kB\n"},
      {"etc/ppp/peers/provider", "noauth\n"},
      {"usr/sbin/pon", "", Entry::kProgram}},
     {true, true, true, "254:16", 999420 + 1048572, 16314460 - 12000000, true, true}},
    // Read-only also for root, as a wake alarm without the group's write access.
    {"AlarmNotWritable",
     {{kAlarm, "/proc/sys/kernel/osrelease", Entry::kLink}},
     {true, false, false, "", 0, 0, false, false}},
    {"ClockInUtc", {{"etc/adjtime", "0.0 0 0.0\n0\nUTC\n"}}, {}},
    {"AdjtimeWithoutThirdLine", {{"etc/adjtime", "0.0 0 0.0\nLOCAL\n"}}, {}},
    {"NoResumeDevice", {{"sys/power/resume", "0:0\n"}}, {}},
    {"SwapsHeadingOnly", {{"proc/swaps", kSwapsHeading}}, {}},
    {"MemAvailableAboveTotal",
     {{"proc/meminfo", "MemTotal: 2048 kB\nMemAvailable: 4096 kB\n"}},
     {}},
    {"MeminfoWithoutAvailable", {{"proc/meminfo", "MemTotal: 2048 kB\nMemFree: 1024 kB\n"}}, {}},
    {"ProgramOnPath",
     {{"on-path/pon", "", Entry::kProgram}},
     {false, false, false, "", 0, 0, false, true}},
    {"ProgramInSbin",
     {{"sbin/nmcli", "", Entry::kProgram}},
     {false, false, false, "", 0, 0, false, true},
     "",
     "nmcli"},
    {"ProgramNotExecutable", {{"usr/bin/pon", "#!/bin/sh\n"}}, {}},
    {"ProgramIsAFolder", {{"usr/sbin/pon", "", Entry::kFolder}}, {}},
    {"ProgramNamedByAPath", {}, {}, "", "/bin/sh"},
    {"PeerNamedByAPath", {{"etc/ppp/options", "lock\n"}}, {}, "../options"},
    {"PeerIsAFolder", {{"etc/ppp/peers/provider", "", Entry::kFolder}}, {}},
};

class SystemFactsTest : public ::testing::TestWithParam<FactsCase> {};

TEST_P(SystemFactsTest, ReadsTheTree) {
    const FactsCase& c = GetParam();
    test::TempDir root;
    ASSERT_FALSE(root.path().empty());
    for (const Entry& entry : c.tree) {
        const fs::path path = root.path() / entry.path;
        fs::create_directories(path.parent_path());
        if (entry.kind == Entry::kLink) {
            fs::create_symlink(entry.content, path);
        } else if (entry.kind == Entry::kFolder) {
            fs::create_directory(path);
        } else {
            std::ofstream(path) << entry.content;
            fs::permissions(path,
                            entry.kind == Entry::kProgram ? fs::perms(0755) : fs::perms(0644));
        }
    }
    const test::ScopedEnv path("PATH", (root.path() / "on-path").string() + ":/nowhere");
    LinuxSystemFacts facts(root.path());

    const Facts seen{facts.wakeAlarmExists(),     facts.wakeAlarmWritable(),
                     facts.clockKeepsLocalTime(), facts.resumeDevice(),
                     facts.swapBytes() / 1024,    facts.memoryInUseBytes() / 1024,
                     facts.pppPeerExists(c.peer), facts.programAvailable(c.program)};
    EXPECT_EQ(seen, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Tree, SystemFactsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace somnar
