// Dialling: pppd's peers through pon, NetworkManager's dial-ups through nmcli.

#include "backends/test_environment.h"
#include "platform/linux/dialup_entries.h"
#include "platform/linux/unique_fd.h"

namespace somnar {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Stand-ins for pon and nmcli that note how they were started (tests/peers/record_argv.py).
const fs::path kStandIns = fs::path(SOMNAR_TEST_PEERS_DIR) / "bin";

// pppd's peers folder as found on a machine: peers beside files and folders that are not,
// and peers whose names pon cannot carry.
class DialupTest : public test::BusTest {
  protected:
    void SetUp() override {
        BusTest::SetUp();
        fs::create_directory(peers_);
        for (const char* name :
             {"provider", "T-Online", "T-Online DSL", "arcor", "Büro", "-provider", "glob?",
              ".hidden", "provider~", "MobilFunk", "Mobil Funk"}) {
            test::writeFile(peers_ / name, "/dev/ttyUSB0\n115200\n");
        }
        fs::create_directory(peers_ / "chatscripts");
        fs::create_symlink(peers_ / "provider", peers_ / "linked");
        fs::create_symlink(peers_ / "gone", peers_ / "dangling");
    }
    void startNetworkManager(Lines more) {
        for (const char* connection :
             {"802-3-ethernet:Wired", "gsm:Mobile Broadband", "pppoe:Mobil Funk", "gsm:Secret",
              "vpn:Office", "cdma:MobilFunk", "bluetooth:Phone DUN"}) {
            more.insert(more.end(), {"--connection", connection});
        }
        ASSERT_NO_FATAL_FAILURE(startPeer("fake_networkmanager.py", more));
    }
    // Waits for the last of the detached starts to be noted; then these must be all.
    void expectStarts(const Lines& lines) const {
        EXPECT_TRUE(test::waitForLine(started_, lines.back())) << lines.back();
        EXPECT_EQ(test::readLines(started_), lines);
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

// The peers pon can dial in byte order, then NetworkManager's dial-ups in its order, a
// connection whose settings cannot be read left out. A NetworkManager connection comes up
// through nmcli, without user and password; a peer of the same name is preferred, unless
// pon cannot carry its name. A stalled NetworkManager costs one budget for the whole list,
// not one per connection (seven stalled answers would take longer).
TEST_F(DialupTest, PeersThenNetworkManagerDialupsWithinOneBudget) {
    startNetworkManager({"--fail-settings", "Secret"});
    LinuxDialupEntries entries(peers_, 600ms);
    EXPECT_THAT(entries.listEntries(),
                ElementsAre("Büro", "MobilFunk", "T-Online", "arcor", "linked", "provider",
                            "Mobile Broadband", "Mobil Funk", "MobilFunk", "Phone DUN"));
    EXPECT_TRUE(entries.dial("MobilFunk", "", "").ok());
    EXPECT_TRUE(test::waitForLine(started_, R"(["pon", "MobilFunk"])"));
    EXPECT_TRUE(entries.dial("Mobil Funk", "anna", "geheim").ok());
    expectStarts(
        {R"(["pon", "MobilFunk"])", R"(["nmcli", "connection", "up", "id", "Mobil Funk"])"});
    startNetworkManager({"--stall", "GetSettings"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(entries.listEntries().size(), 6u);
    EXPECT_EQ(entries.dial("Phone DUN", "", "").error, DialError::UnknownName);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(test::readLines(started_).size(), 2u) << "nothing more started";
}

// pon gets them in a pipe to read, the only descriptor it inherits; never in its arguments,
// its environment or a file. Nothing for pppd to unquote or expand: only '"' and '\' are
// escaped.
TEST_F(DialupTest, CredentialsReachPppdOnlyThroughAnInheritedPipe) {
    const struct {
        std::string user, password, options;  // options as pppd reads them, in JSON
    } cases[] = {{"anna maier", "ge heim", R"(user \"anna maier\"\npassword \"ge heim\"\n)"},
                 {"anna.maier", "", R"(user \"anna.maier\"\n)"},
                 {"an\"na\\", "$HOME \"a b\" 'c' \\d #*; ü",
                  R"(user \"an\\\"na\\\\\"\npassword \"$HOME \\\"a b\\\" 'c' \\\\d #*; ü\"\n)"},
                 {"", "", ""}};
    for (const auto& c : cases) {
        fs::remove(started_);
        ASSERT_TRUE(LinuxDialupEntries(peers_).dial("provider", c.user, c.password).ok());
        if (c.options.empty()) {
            expectStarts({R"(["pon", "provider"])"});
        } else {
            expectStarts({R"(["pon", "provider", "file", "/dev/fd/3"])", R"(["open", "3:pipe"])",
                          R"(["/dev/fd/3", ")" + c.options + "\"]"});
        }
        const std::string variables = test::contentOf(environment_);
        EXPECT_THAT(variables, HasSubstr("SOMNAR_ARGV_RECORD="));
        for (const std::string& secret : {c.user, c.password}) {
            EXPECT_TRUE(secret.empty() || variables.find(secret) == std::string::npos) << secret;
        }
    }
}

TEST_F(DialupTest, RefusalStartsNothingAndSaysWhy) {
    startNetworkManager({});
    const struct {
        std::string dialled, user, password;
        DialError error;
        std::string detail;
    } cases[] = {
        {"Arcor", "anna", "geheim", DialError::UnknownName, "Arcor"},
        {"Wired", "", "", DialError::UnknownName, "Wired"},  // not a dial-up
        {"../peers/provider", "", "", DialError::UnknownName, "../peers/provider"},
        {"", "anna", "geheim", DialError::NothingSelected, ""},
        {"T-Online DSL", "", "", DialError::NameNotDialable, "T-Online DSL"},
        {"-provider", "", "", DialError::NameNotDialable, "-provider"},
        {"provider", "anna\nmaier", "", DialError::UnusableCredentials, ""},
        {"provider", "anna", std::string("ge\0heim", 7), DialError::UnusableCredentials, ""},
        {"provider", "anna", "geheim", DialError::PppMissing, ""},
        {"Mobil Funk", "", "", DialError::NetworkManagerMissing, ""}};
    for (const auto& c : cases) {
        const bool noPrograms =
            c.error == DialError::PppMissing || c.error == DialError::NetworkManagerMissing;
        const test::ScopedEnv path("PATH", noPrograms ? "/nowhere" : kStandIns.string());
        const DialResult result = LinuxDialupEntries(peers_).dial(c.dialled, c.user, c.password);
        EXPECT_EQ(result.error, c.error) << c.dialled;
        EXPECT_EQ(result.detail, c.detail);
        EXPECT_EQ(result.systemError, "");
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_THAT(test::readLines(started_), IsEmpty());
}

}  // namespace
}  // namespace somnar
