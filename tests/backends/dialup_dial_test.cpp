#include "platform/linux/dialup_entries.h"
#include "platform/linux/unique_fd.h"

#include "backends/call_record.h"
#include "backends/private_bus.h"
#include "backends/test_environment.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kStarted = 10s;
constexpr auto kShortTimeout = 600ms;
constexpr auto kWithinShortTimeout = 3s;

// Stand-ins for pon and nmcli that note how they were started.
const fs::path kStandIns = fs::path(SOMNAR_TEST_PEERS_DIR) / "bin";

void writePeer(const fs::path& file) {
    std::ofstream(file) << "/dev/ttyUSB0\n115200\nuser \"from-the-peer-file\"\n";
}

// A note of the stand-ins: a JSON array of texts, written as Python writes it.
std::string noted(std::initializer_list<std::string_view> items) {
    std::string line = "[";
    for (const std::string_view item : items) {
        line += line.size() > 1 ? ", \"" : "\"";
        for (const char c : item) {
            if (c == '"' || c == '\\') {
                line += '\\';
            }
            line += c == '\n' ? std::string("\\n") : std::string(1, c);
        }
        line += '"';
    }
    return line + "]";
}

std::string currentPath() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/bin:/bin";
}

// The names of our own child processes, running or not yet reaped.
std::vector<std::string> childNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator task("/proc/self/task", error);
         !error && task != fs::directory_iterator(); task.increment(error)) {
        std::ifstream children(task->path() / "children");
        for (std::string pid; children >> pid;) {
            std::string name;
            std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
            names.push_back(name);
        }
    }
    return names;
}

class DialupDialTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.ok()) << bus_.error();
        ASSERT_TRUE(fs::create_directory(peers()));
        ASSERT_TRUE(fs::is_regular_file(kStandIns / "pon")) << kStandIns;
    }

    fs::path peers() const { return bus_.folder() / "peers"; }
    fs::path record() const { return bus_.folder() / "argv.jsonl"; }
    fs::path environment() const { return bus_.folder() / "environ"; }

    void startNetworkManager(std::vector<std::string> args) {
        std::string why;
        networkManager_ = bus_.startPeer("fake_networkmanager.py", args, why);
        ASSERT_NE(networkManager_, nullptr) << why;
    }

    // Waits for the last of the detached starts to be noted, then checks that the notes are
    // these alone.
    void expectOnlyNotes(const std::vector<std::string>& lines) const {
        EXPECT_TRUE(test::waitForLine(record(), lines.back(), kStarted)) << lines.back();
        EXPECT_THAT(test::readLines(record()), ElementsAreArray(lines));
    }

    test::PrivateBus bus_;
    test::ScopedEnv path_{"PATH", kStandIns.string() + ":" + currentPath()};
    test::ScopedEnv record_{"SOMNAR_ARGV_RECORD", record().string()};
    test::ScopedEnv environ_{"SOMNAR_ENV_RECORD", environment().string()};
    // Open across exec: only a dialler that closes what it does not hand over is rid of it.
    UniqueFd stray_{::open("/dev/null", O_RDONLY)};
    std::unique_ptr<test::ChildProcess> networkManager_;
};

struct Credentials {
    const char* name;
    std::string user;
    std::string password;
    std::string options;  // as pppd reads them from the file; empty: no file
};

class DialupCredentialsTest : public DialupDialTest,
                              public ::testing::WithParamInterface<Credentials> {};

// pon gets a file to read the options from, the only descriptor it inherits.
TEST_P(DialupCredentialsTest, ReachPppdAsOptionsTextOnlyThroughAnInheritedPipe) {
    const Credentials& given = GetParam();
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("provider", given.user, given.password);

    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.reason, "");
    if (given.options.empty()) {
        expectOnlyNotes({noted({"pon", "provider"})});
    } else {
        expectOnlyNotes({noted({"pon", "provider", "file", "/dev/fd/3"}), noted({"open", "3"}),
                         noted({"/dev/fd/3", given.options})});
    }
    const std::vector<std::string> variables = test::readLines(environment());
    EXPECT_THAT(variables, Contains(StartsWith("SOMNAR_ARGV_RECORD=")));
    for (const std::string& secret : {given.user, given.password}) {
        if (!secret.empty()) {
            EXPECT_THAT(variables, Each(Not(HasSubstr(secret))));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dial, DialupCredentialsTest,
    ::testing::Values(
        Credentials{"Both", "anna maier", "ge heim", "user \"anna maier\"\npassword \"ge heim\"\n"},
        Credentials{"UserOnly", "anna.maier", "", "user \"anna.maier\"\n"},
        Credentials{"PasswordOnly", "", "ge.heim", "password \"ge.heim\"\n"},
        // Nothing for pppd to unquote or expand: only '"' and '\' are escaped.
        Credentials{"QuotesAndBackslashes", "an\"na\\", "$HOME \"a b\" 'c' \\d #*; ü",
                    "user \"an\\\"na\\\\\"\npassword \"$HOME \\\"a b\\\" 'c' \\\\d #*; ü\"\n"},
        Credentials{"Neither", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialupDialTest, NetworkManagerConnectionComesUpThroughNmcliWithoutUserAndPassword) {
    ASSERT_NO_FATAL_FAILURE(
        startNetworkManager({"--connection", "pppoe:DSL", "--connection", "gsm:Mobil Funk"}));
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("Mobil Funk", "anna", "geheim");

    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.reason, "");
    expectOnlyNotes({noted({"nmcli", "connection", "up", "id", "Mobil Funk"})});
}

// Unless pon cannot carry the peer's name.
TEST_F(DialupDialTest, PeerIsPreferredToNetworkManagerConnectionOfTheSameName) {
    writePeer(peers() / "MobilFunk");
    writePeer(peers() / "Mobil Funk");
    ASSERT_NO_FATAL_FAILURE(
        startNetworkManager({"--connection", "gsm:MobilFunk", "--connection", "gsm:Mobil Funk"}));
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("MobilFunk", "", "").started);
    EXPECT_TRUE(test::waitForLine(record(), noted({"pon", "MobilFunk"}), kStarted));
    EXPECT_TRUE(entries.dial("Mobil Funk", "", "").started);
    expectOnlyNotes(
        {noted({"pon", "MobilFunk"}), noted({"nmcli", "connection", "up", "id", "Mobil Funk"})});
}

TEST_F(DialupDialTest, DetachedDiallerIsNotOurChild) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    ASSERT_TRUE(entries.dial("provider", "", "").started);
    ASSERT_TRUE(test::waitForLine(record(), noted({"pon", "provider"}), kStarted));

    EXPECT_THAT(childNames(), Not(Contains("pon")));
}

// Neither a file the list leaves out nor a connection of another kind is a dial-up; pon
// cannot carry some names, pppd's options some values.
TEST_F(DialupDialTest, RefusedDialsStartNothing) {
    for (const char* peer :
         {"provider", ".hidden", "Mein Provider", "-provider", "tab\tname", "star*"}) {
        writePeer(peers() / peer);
    }
    fs::create_directory(peers() / "chatscripts");
    ASSERT_NO_FATAL_FAILURE(startNetworkManager({"--connection", "802-11-wireless:Home WiFi"}));
    LinuxDialupEntries entries(peers());
    const auto unknown = [](const std::string& name) {
        return "Die DFÜ-Verbindung \"" + name + "\" gibt es auf diesem Rechner nicht.";
    };
    const auto uncarried = [](const std::string& name) {
        return "Die DFÜ-Verbindung \"" + name +
               "\" kann pon nicht wählen (Leerzeichen, *, ? oder [ im Namen oder \"-\" am "
               "Anfang).";
    };
    const std::string badValue =
        "Benutzername oder Kennwort enthält einen Zeilenumbruch oder ein Nullzeichen (das kann "
        "pppd nicht übernehmen).";
    const struct {
        std::string name, user, password, reason;
    } cases[] = {
        {"Arcor", "anna", "geheim", unknown("Arcor")},
        {".hidden", "anna", "geheim", unknown(".hidden")},
        {"chatscripts", "anna", "geheim", unknown("chatscripts")},
        {"Home WiFi", "anna", "geheim", unknown("Home WiFi")},
        {"../peers/provider", "anna", "geheim", unknown("../peers/provider")},
        {"", "anna", "geheim", "Es ist keine DFÜ-Verbindung ausgewählt."},
        {"Mein Provider", "anna", "geheim", uncarried("Mein Provider")},
        {"-provider", "", "", uncarried("-provider")},
        {"tab\tname", "", "", uncarried("tab\tname")},
        {"star*", "", "", uncarried("star*")},
        {"provider", "anna\nmaier", "geheim", badValue},
        {"provider", "anna", "ge\rheim", badValue},
        {"provider", "anna", std::string("ge\0heim", 7), badValue},
    };
    for (const auto& refused : cases) {
        const DialResult result = entries.dial(refused.name, refused.user, refused.password);
        EXPECT_FALSE(result.started) << refused.name;
        EXPECT_EQ(result.reason, refused.reason);
    }
    // A known name afterwards is noted alone: the refused ones started nothing.
    ASSERT_TRUE(entries.dial("provider", "", "").started);
    expectOnlyNotes({noted({"pon", "provider"})});
}

TEST_F(DialupDialTest, MissingPonIsReported) {
    writePeer(peers() / "provider");
    test::TempDir emptyFolder;
    ASSERT_FALSE(emptyFolder.path().empty());
    test::ScopedEnv path("PATH", emptyFolder.path().string());
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("provider", "anna", "geheim");

    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.reason, "pon konnte nicht gestartet werden (ist das Paket ppp installiert?).");
}

TEST_F(DialupDialTest, MissingNmcliIsReported) {
    ASSERT_NO_FATAL_FAILURE(startNetworkManager({"--connection", "gsm:Mobil Funk"}));
    test::TempDir emptyFolder;
    ASSERT_FALSE(emptyFolder.path().empty());
    test::ScopedEnv path("PATH", emptyFolder.path().string());
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("Mobil Funk", "", "");

    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.reason,
              "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?).");
}

TEST_F(DialupDialTest, UnansweredNetworkManagerGivesUpAfterTheTimeout) {
    ASSERT_NO_FATAL_FAILURE(
        startNetworkManager({"--connection", "gsm:Mobil Funk", "--stall", "ListConnections"}));
    LinuxDialupEntries entries(peers(), kShortTimeout);

    const auto start = Clock::now();
    const DialResult result = entries.dial("Mobil Funk", "", "");

    EXPECT_LT(Clock::now() - start, kWithinShortTimeout);
    EXPECT_FALSE(result.started);
    EXPECT_THAT(test::readLines(record()), IsEmpty());
}

}  // namespace
}  // namespace somnar
