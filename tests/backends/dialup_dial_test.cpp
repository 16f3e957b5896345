#include "platform/linux/dialup_entries.h"

#include "backends/call_record.h"
#include "backends/private_bus.h"
#include "backends/test_environment.h"

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
using ::testing::ElementsAre;
using ::testing::IsEmpty;
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

// A start as the stand-ins note it: the argv as a JSON array, written as Python writes it.
std::string started(std::initializer_list<std::string_view> argv) {
    std::string line = "[";
    for (const std::string_view argument : argv) {
        line += line.size() > 1 ? ", \"" : "\"";
        for (const char c : argument) {
            if (c == '"' || c == '\\') {
                line += '\\';
            }
            line += c;
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

    void startNetworkManager(std::vector<std::string> args) {
        std::string why;
        networkManager_ = bus_.startPeer("fake_networkmanager.py", args, why);
        ASSERT_NE(networkManager_, nullptr) << why;
    }

    // Waits for the detached start to be noted, then checks it is the only one noted.
    void expectOnlyStart(const std::string& line) const {
        EXPECT_TRUE(test::waitForLine(record(), line, kStarted)) << line;
        EXPECT_THAT(test::readLines(record()), ElementsAre(line));
    }

    test::PrivateBus bus_;
    test::ScopedEnv path_{"PATH", kStandIns.string() + ":" + currentPath()};
    test::ScopedEnv record_{"SOMNAR_ARGV_RECORD", record().string()};
    std::unique_ptr<test::ChildProcess> networkManager_;
};

TEST_F(DialupDialTest, PeerGetsUserAndPasswordEachAsOneArgument) {
    writePeer(peers() / "Mein Provider");
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("Mein Provider", "anna maier", "ge heim");

    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.reason, "");
    expectOnlyStart(started({"pon", "Mein Provider", "user", "anna maier", "password", "ge heim"}));
}

TEST_F(DialupDialTest, EmptyUserAndPasswordLeaveThePeerFilesOwnSettings) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("provider", "", "").started);
    expectOnlyStart(started({"pon", "provider"}));
}

TEST_F(DialupDialTest, UserWithoutPasswordPassesOnlyTheUser) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("provider", "anna", "").started);
    expectOnlyStart(started({"pon", "provider", "user", "anna"}));
}

TEST_F(DialupDialTest, PasswordWithoutUserPassesOnlyThePassword) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("provider", "", "geheim").started);
    expectOnlyStart(started({"pon", "provider", "password", "geheim"}));
}

// No shell in between: nothing is expanded, split or unquoted.
TEST_F(DialupDialTest, PasswordWithShellCharactersArrivesUnchanged) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("provider", "anna", "$HOME \"a b\" 'c' \\d *; ü").started);
    expectOnlyStart(
        started({"pon", "provider", "user", "anna", "password", "$HOME \"a b\" 'c' \\d *; ü"}));
}

TEST_F(DialupDialTest, NetworkManagerConnectionComesUpThroughNmcliWithoutUserAndPassword) {
    ASSERT_NO_FATAL_FAILURE(
        startNetworkManager({"--connection", "pppoe:DSL", "--connection", "gsm:Mobil Funk"}));
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("Mobil Funk", "anna", "geheim");

    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.reason, "");
    expectOnlyStart(started({"nmcli", "connection", "up", "id", "Mobil Funk"}));
}

TEST_F(DialupDialTest, PeerIsPreferredToNetworkManagerConnectionOfTheSameName) {
    writePeer(peers() / "Mobil Funk");
    ASSERT_NO_FATAL_FAILURE(startNetworkManager({"--connection", "gsm:Mobil Funk"}));
    LinuxDialupEntries entries(peers());

    EXPECT_TRUE(entries.dial("Mobil Funk", "", "").started);
    expectOnlyStart(started({"pon", "Mobil Funk"}));
}

TEST_F(DialupDialTest, DetachedDiallerIsNotOurChild) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    ASSERT_TRUE(entries.dial("provider", "", "").started);
    ASSERT_TRUE(test::waitForLine(record(), started({"pon", "provider"}), kStarted));

    EXPECT_THAT(childNames(), ::testing::Not(::testing::Contains("pon")));
}

// Neither a file the list leaves out nor a connection of another kind is a dial-up.
TEST_F(DialupDialTest, UnknownNameStartsNothing) {
    writePeer(peers() / "provider");
    writePeer(peers() / ".hidden");
    fs::create_directory(peers() / "chatscripts");
    ASSERT_NO_FATAL_FAILURE(startNetworkManager({"--connection", "802-11-wireless:Home WiFi"}));
    LinuxDialupEntries entries(peers());

    for (const std::string name :
         {"Arcor", ".hidden", "chatscripts", "Home WiFi", "../peers/provider"}) {
        const DialResult result = entries.dial(name, "anna", "geheim");
        EXPECT_FALSE(result.started) << name;
        EXPECT_EQ(result.reason,
                  "Die DFÜ-Verbindung \"" + name + "\" gibt es auf diesem Rechner nicht.");
    }
    // A known name afterwards is noted alone: the unknown ones started nothing.
    ASSERT_TRUE(entries.dial("provider", "", "").started);
    expectOnlyStart(started({"pon", "provider"}));
}

TEST_F(DialupDialTest, EmptyNameStartsNothing) {
    writePeer(peers() / "provider");
    LinuxDialupEntries entries(peers());

    const DialResult result = entries.dial("", "anna", "geheim");

    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.reason, "Es ist keine DFÜ-Verbindung ausgewählt.");
    ASSERT_TRUE(entries.dial("provider", "", "").started);
    expectOnlyStart(started({"pon", "provider"}));
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
