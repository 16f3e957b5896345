#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "backends/private_bus.h"
#include "platform/linux/dialup_entries.h"
#include "platform/linux/unique_fd.h"

namespace somnar {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
namespace fs = std::filesystem;

// Stand-ins for pon and nmcli that note how they were started (tests/peers/record_argv.py).
const fs::path kStandIns = fs::path(SOMNAR_TEST_PEERS_DIR) / "bin";

// A note of the stand-ins: a JSON array of texts, as Python writes it.
std::string noted(std::initializer_list<std::string_view> items) {
    std::string line = "[";
    for (const std::string_view item : items) {
        line += line.size() > 1 ? ", \"" : "\"";
        for (const char c : item) {
            line += c == '"' || c == '\\' ? std::string{'\\', c}
                    : c == '\n'           ? std::string("\\n")
                                          : std::string(1, c);
        }
        line += '"';
    }
    return line + "]";
}

// pppd's peers folder as found on a machine: peers beside files and folders that are not,
// and peers whose names pon cannot carry.
class DialupTest : public test::BusTest {
  protected:
    void SetUp() override {
        BusTest::SetUp();
        fs::create_directory(peers_);
        for (const char* name :
             {"provider", "T-Online", "T-Online DSL", "arcor", "Büro", "-provider", "Mobil\tFunk",
              "glob?", "star*", ".hidden", "provider~", "MobilFunk", "Mobil Funk"}) {
            test::writeFile(peers_ / name, "/dev/ttyUSB0\n115200\n");
        }
        fs::create_directory(peers_ / "chatscripts");
        fs::create_symlink(peers_ / "provider", peers_ / "linked");
        fs::create_symlink(peers_ / "gone", peers_ / "dangling");
    }
    void startNetworkManager(std::vector<std::string> connections, std::vector<std::string> more) {
        for (const std::string& connection : connections) {
            more.insert(more.end(), {"--connection", connection});
        }
        ASSERT_NO_FATAL_FAILURE(startPeer("fake_networkmanager.py", more));
    }
    // Waits for the last of the detached starts to be noted; then these must be all.
    void expectStarts(const std::vector<std::string>& lines) const {
        EXPECT_TRUE(test::waitForLine(started_, lines.back())) << lines.back();
        EXPECT_THAT(test::readLines(started_), ElementsAreArray(lines));
    }

    fs::path peers_ = folder_.path() / "peers";
    fs::path started_ = folder_.path() / "argv.jsonl";
    fs::path environment_ = folder_.path() / "environ";
    test::ScopedEnv path_{"PATH", kStandIns.string() + ":/usr/bin:/bin"};
    test::ScopedEnv record_{"SOMNAR_ARGV_RECORD", started_.string()};
    test::ScopedEnv environ_{"SOMNAR_ENV_RECORD", environment_.string()};
    // Open across exec: only a dialler that closes what it does not hand over is rid of it.
    UniqueFd stray_{::open("/dev/null", O_RDONLY)};
};

// The peers pon can dial in byte order, then NetworkManager's dial-ups in its order; a
// connection whose settings cannot be read is left out.
TEST_F(DialupTest, PeersThenNetworkManagerDialups) {
    startNetworkManager({"802-3-ethernet:Wired", "gsm:Mobile Broadband", "802-11-wireless:WiFi",
                         "pppoe:DSL Anschluss", "gsm:Secret", "vpn:Office", "cdma:CDMA Büro",
                         "bluetooth:Phone DUN"},
                        {"--fail-settings", "Secret"});
    EXPECT_THAT(LinuxDialupEntries(peers_).listEntries(),
                ElementsAre("Büro", "MobilFunk", "T-Online", "arcor", "linked", "provider",
                            "Mobile Broadband", "DSL Anschluss", "CDMA Büro", "Phone DUN"));
    EXPECT_THAT(LinuxDialupEntries(folder_.path() / "none").listEntries(),
                ElementsAre("Mobile Broadband", "DSL Anschluss", "CDMA Büro", "Phone DUN"));
}

TEST_F(DialupTest, WithoutNetworkManagerOrPeersTheListIsEmpty) {
    EXPECT_THAT(LinuxDialupEntries(folder_.path() / "none").listEntries(), IsEmpty());
    const test::ScopedEnv missing("DBUS_SYSTEM_BUS_ADDRESS", noBus());
    EXPECT_THAT(LinuxDialupEntries(folder_.path() / "none").listEntries(), IsEmpty());
}

// One budget for the whole list, not one per connection: eight stalled answers of a
// quarter second each would take longer than the budget.
TEST_F(DialupTest, StalledNetworkManagerCostsOneTimeoutAndTheDialStartsNothing) {
    startNetworkManager(
        {"gsm:M1", "gsm:M2", "gsm:M3", "gsm:M4", "gsm:M5", "gsm:M6", "gsm:M7", "gsm:M8"},
        {"--stall", "GetSettings"});
    LinuxDialupEntries entries(peers_, 600ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(entries.listEntries(), Contains("provider"));
    EXPECT_EQ(entries.dial("M1", "", "").error, DialError::UnknownName);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_THAT(test::readLines(started_), IsEmpty());
}

struct Credentials {
    const char* name;
    std::string user;
    std::string password;
    std::string options;  // as pppd reads them; empty: no options file
};

class DialupCredentialsTest : public DialupTest,
                              public ::testing::WithParamInterface<Credentials> {};

// pon gets them in a file to read, the only descriptor it inherits; never in its
// arguments or environment.
TEST_P(DialupCredentialsTest, ReachPppdOnlyThroughAnInheritedPipe) {
    const Credentials& given = GetParam();
    ASSERT_TRUE(LinuxDialupEntries(peers_).dial("provider", given.user, given.password).ok());
    if (given.options.empty()) {
        expectStarts({noted({"pon", "provider"})});
    } else {
        expectStarts({noted({"pon", "provider", "file", "/dev/fd/3"}), noted({"open", "3"}),
                      noted({"/dev/fd/3", given.options})});
    }
    const std::vector<std::string> variables = test::readLines(environment_);
    EXPECT_THAT(variables, Contains(HasSubstr("SOMNAR_ARGV_RECORD=")));
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

// A NetworkManager connection comes up through nmcli, without user and password; a peer
// of the same name is preferred, unless pon cannot carry the name.
TEST_F(DialupTest, PeerBeforeNetworkManagerConnectionOfTheSameName) {
    startNetworkManager({"gsm:MobilFunk", "gsm:Mobil Funk", "pppoe:DSL"}, {});
    LinuxDialupEntries entries(peers_);
    EXPECT_TRUE(entries.dial("MobilFunk", "anna", "").ok());
    EXPECT_TRUE(test::waitForLine(started_, noted({"pon", "MobilFunk", "file", "/dev/fd/3"})));
    EXPECT_TRUE(entries.dial("Mobil Funk", "anna", "geheim").ok());
    // Detached starts may be noted in any order: one at a time.
    EXPECT_TRUE(
        test::waitForLine(started_, noted({"nmcli", "connection", "up", "id", "Mobil Funk"})));
    EXPECT_TRUE(entries.dial("DSL", "anna", "geheim").ok());
    expectStarts({noted({"pon", "MobilFunk", "file", "/dev/fd/3"}), noted({"open", "3"}),
                  noted({"/dev/fd/3", "user \"anna\"\n"}),
                  noted({"nmcli", "connection", "up", "id", "Mobil Funk"}),
                  noted({"nmcli", "connection", "up", "id", "DSL"})});
}

struct Refusal {
    const char* name;
    std::string dialled, user, password;
    DialError error;
    std::string detail;
};

class DialupRefusalTest : public DialupTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(DialupRefusalTest, StartsNothingAndSaysWhy) {
    const Refusal& r = GetParam();
    startNetworkManager({"802-11-wireless:Home WiFi", "gsm:Mobil Funk"}, {});
    test::TempDir emptyFolder;
    const test::ScopedEnv path(
        "PATH", r.error == DialError::PppMissing || r.error == DialError::NetworkManagerMissing
                    ? emptyFolder.path().string()
                    : kStandIns.string());
    const DialResult result = LinuxDialupEntries(peers_).dial(r.dialled, r.user, r.password);
    EXPECT_EQ(result.error, r.error);
    EXPECT_EQ(result.detail, r.detail);
    EXPECT_EQ(result.systemError, "");
    std::this_thread::sleep_for(100ms);
    EXPECT_THAT(test::readLines(started_), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Dial, DialupRefusalTest,
    ::testing::Values(
        Refusal{"Unknown", "Arcor", "anna", "geheim", DialError::UnknownName, "Arcor"},
        Refusal{"Hidden", ".hidden", "", "", DialError::UnknownName, ".hidden"},
        Refusal{"Folder", "chatscripts", "", "", DialError::UnknownName, "chatscripts"},
        Refusal{"NotADialup", "Home WiFi", "", "", DialError::UnknownName, "Home WiFi"},
        Refusal{"PathOut", "../peers/provider", "", "", DialError::UnknownName,
                "../peers/provider"},
        Refusal{"NothingSelected", "", "anna", "geheim", DialError::NothingSelected, ""},
        Refusal{"Blank", "T-Online DSL", "", "", DialError::NameNotDialable, "T-Online DSL"},
        Refusal{"Dash", "-provider", "", "", DialError::NameNotDialable, "-provider"},
        Refusal{"Tab", "Mobil\tFunk", "", "", DialError::NameNotDialable, "Mobil\tFunk"},
        Refusal{"Star", "star*", "", "", DialError::NameNotDialable, "star*"},
        Refusal{"Question", "glob?", "", "", DialError::NameNotDialable, "glob?"},
        Refusal{"LineBreakInUser", "provider", "anna\nmaier", "", DialError::UnusableCredentials,
                ""},
        Refusal{"ReturnInPassword", "provider", "", "ge\rheim", DialError::UnusableCredentials, ""},
        Refusal{"NulInPassword", "provider", "anna", std::string("ge\0heim", 7),
                DialError::UnusableCredentials, ""},
        Refusal{"NoPon", "provider", "anna", "geheim", DialError::PppMissing, ""},
        Refusal{"NoNmcli", "Mobil Funk", "", "", DialError::NetworkManagerMissing, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace somnar
