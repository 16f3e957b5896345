#include "platform/linux/dialup_entries.h"

#include "backends/private_bus.h"
#include "backends/test_environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kPromptly = 2s;
constexpr auto kShortTimeout = 600ms;
constexpr auto kWithinShortTimeout = 3s;

void writeFile(const fs::path& file) {
    std::ofstream(file) << "/dev/ttyUSB0\n115200\n";
}

// pppd's peers folder as found on a machine: real peers beside files and folders that are not,
// and peers whose names pon cannot carry.
void fillPeersFolder(const fs::path& folder) {
    writeFile(folder / "provider");
    writeFile(folder / "T-Online");
    writeFile(folder / "T-Online DSL");
    writeFile(folder / "arcor");
    writeFile(folder / "Büro");
    writeFile(folder / "-provider");
    writeFile(folder / "Mobil\tFunk");
    writeFile(folder / "glob?");
    writeFile(folder / ".hidden");
    writeFile(folder / "provider~");
    fs::create_directory(folder / "chatscripts");
    writeFile(folder / "chatscripts" / "inside");
    fs::create_symlink(folder / "provider", folder / "linked");
    fs::create_symlink(folder / "gone", folder / "dangling");
}

// The stand-in's arguments for saved connections given as "type:id", in this order.
std::vector<std::string> connections(std::initializer_list<const char*> typeAndId) {
    std::vector<std::string> args;
    for (const char* connection : typeAndId) {
        args.insert(args.end(), {"--connection", connection});
    }
    return args;
}

class DialupEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.ok()) << bus_.error();
        ASSERT_TRUE(fs::create_directory(peers()));
    }

    fs::path peers() const { return bus_.folder() / "peers"; }

    void startNetworkManager(std::vector<std::string> args) {
        args.insert(args.end(), {"--record", (bus_.folder() / "nm-calls.jsonl").string()});
        std::string why;
        networkManager_ = bus_.startPeer("fake_networkmanager.py", args, why);
        ASSERT_NE(networkManager_, nullptr) << why;
    }

    test::PrivateBus bus_;
    std::unique_ptr<test::ChildProcess> networkManager_;
};

TEST_F(DialupEntriesTest, PeersAreTheRegularFilesSortedByName) {
    fillPeersFolder(peers());
    LinuxDialupEntries entries(peers());

    // Byte order: capitals before small letters, as in the C locale.
    EXPECT_THAT(entries.listEntries(),
                ElementsAre("Büro", "T-Online", "arcor", "linked", "provider"));
}

TEST_F(DialupEntriesTest, EmptyPeersFolderAndNoNetworkManagerGiveNothing) {
    LinuxDialupEntries entries(peers());

    EXPECT_THAT(entries.listEntries(), IsEmpty());
}

TEST_F(DialupEntriesTest, NetworkManagerDialupsFollowThePeersInNetworkManagersOrder) {
    writeFile(peers() / "provider");
    ASSERT_NO_FATAL_FAILURE(startNetworkManager(
        connections({"802-3-ethernet:Wired connection 1", "gsm:Mobile Broadband",
                     "802-11-wireless:Home WiFi", "pppoe:DSL Anschluss", "vpn:Office",
                     "cdma:CDMA Büro", "bridge:br0", "bluetooth:Phone DUN"})));
    LinuxDialupEntries entries(peers());

    EXPECT_THAT(entries.listEntries(), ElementsAre("provider", "Mobile Broadband", "DSL Anschluss",
                                                   "CDMA Büro", "Phone DUN"));
}

TEST_F(DialupEntriesTest, ConnectionWhoseSettingsCannotBeReadIsLeftOut) {
    auto args = connections({"gsm:First", "gsm:Secret", "pppoe:Last one"});
    args.insert(args.end(), {"--fail-settings", "Secret"});
    ASSERT_NO_FATAL_FAILURE(startNetworkManager(args));
    LinuxDialupEntries entries(peers());

    EXPECT_THAT(entries.listEntries(), ElementsAre("First", "Last one"));
}

TEST_F(DialupEntriesTest, MissingPeersFolderStillListsNetworkManagerDialups) {
    ASSERT_NO_FATAL_FAILURE(startNetworkManager(connections({"gsm:Mobile Broadband"})));
    LinuxDialupEntries entries(bus_.folder() / "no-such-folder");

    EXPECT_THAT(entries.listEntries(), ElementsAre("Mobile Broadband"));
}

TEST_F(DialupEntriesTest, NoNetworkManagerOnTheBusListsThePeersAtOnce) {
    writeFile(peers() / "provider");
    LinuxDialupEntries entries(peers());

    const auto start = Clock::now();
    const std::vector<std::string> names = entries.listEntries();
    EXPECT_LT(Clock::now() - start, kPromptly);
    EXPECT_THAT(names, ElementsAre("provider"));
}

TEST_F(DialupEntriesTest, UnansweredListGivesUpAfterTheTimeout) {
    writeFile(peers() / "provider");
    auto args = connections({"gsm:Mobile Broadband"});
    args.insert(args.end(), {"--stall", "ListConnections"});
    ASSERT_NO_FATAL_FAILURE(startNetworkManager(args));
    LinuxDialupEntries entries(peers(), kShortTimeout);

    const auto start = Clock::now();
    const std::vector<std::string> names = entries.listEntries();
    EXPECT_LT(Clock::now() - start, kWithinShortTimeout);
    EXPECT_THAT(names, ElementsAre("provider"));
}

// The timeout is one budget for the whole list, not one per connection.
TEST_F(DialupEntriesTest, UnansweredSettingsShareOneTimeout) {
    std::vector<std::string> args = {"--stall", "GetSettings"};
    for (int i = 1; i <= 8; ++i) {
        args.insert(args.end(), {"--connection", "gsm:Mobile " + std::to_string(i)});
    }
    ASSERT_NO_FATAL_FAILURE(startNetworkManager(args));
    LinuxDialupEntries entries(peers(), kShortTimeout);

    const auto start = Clock::now();
    const std::vector<std::string> names = entries.listEntries();
    EXPECT_LT(Clock::now() - start, kWithinShortTimeout);
    EXPECT_THAT(names, IsEmpty());
}

TEST(DialupEntriesWithoutBusTest, MissingBusListsThePeersAtOnce) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    writeFile(folder.path() / "provider");
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS",
                              "unix:path=" + (folder.path() / "no-bus-here").string());
    LinuxDialupEntries entries(folder.path());

    const auto start = Clock::now();
    const std::vector<std::string> names = entries.listEntries();
    EXPECT_LT(Clock::now() - start, kPromptly);
    EXPECT_THAT(names, ElementsAre("provider"));
}

TEST(DialupEntriesWithoutBusTest, NoSourceAtAllGivesNothing) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    test::ScopedEnv systemBus("DBUS_SYSTEM_BUS_ADDRESS",
                              "unix:path=" + (folder.path() / "no-bus-here").string());
    LinuxDialupEntries entries(folder.path() / "no-such-folder");

    EXPECT_THAT(entries.listEntries(), IsEmpty());
}

}  // namespace
}  // namespace somnar
