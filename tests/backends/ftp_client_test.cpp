#include "platform/linux/ftp/curl_ftp_client.h"
#include "platform/linux/ftp/ftp_server_address.h"

#include "backends/ftp_server.h"
#include "backends/test_environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace somnar {
namespace {

using namespace std::chrono_literals;
using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using test::FtpServer;
using test::FtpServerOptions;

constexpr auto kLimit = 2s;  // the client's limits in most tests

// ip.html as the program writes it: CR LF line ends. A lone LF, a lone CR and bytes a text
// transfer would touch are added, so only a binary transfer keeps them all.
const std::string kPage =
    "<HTML>\r\n<BODY>\r\n127.0.0.1 07.12.2026 06:30:00\r\n</BODY>\r\n"
    "lone\nline\rends \x1a\xe4\xff" +
    std::string(1, '\0') + "end\r\n";

MATCHER(Succeeded, "succeeds") {
    *result_listener << "ok " << arg.ok << ", code " << arg.code;
    return arg.ok;
}

MATCHER_P(FailsWith, code, "fails with code " + std::to_string(code)) {
    *result_listener << "ok " << arg.ok << ", code " << arg.code;
    return !arg.ok && arg.code == code;
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long countOf(const std::vector<std::string>& commands, const std::string& prefix) {
    return std::count_if(commands.begin(), commands.end(),
                         [&](const std::string& command) { return command.starts_with(prefix); });
}

// Every file below the server's home, as paths relative to it.
std::vector<std::string> filesIn(const fs::path& home) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), home).string());
        }
    }
    return files;
}

class FtpClientTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(local_.path().empty()); }

    [[nodiscard]] fs::path writeLocal(const std::string& name, const std::string& content) const {
        fs::path file = local_.path() / name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

    // Opens and logs in as the server's user.
    static FtpResult login(CurlFtpClient& client, const FtpServer& server, bool passive = true) {
        if (const FtpResult opened = client.open("VidOru FTP"); !opened.ok) {
            return opened;
        }
        return client.connect(server.address(), FtpServer::kUser, FtpServer::kPassword, passive);
    }

    test::TempDir local_;
    CurlFtpClient client_{kLimit, kLimit};
};

TEST_F(FtpClientTest, PassiveUploadArrivesByteForByteInTheFolderOnOneLogin) {
    FtpServer server({.folders = {"pub"}});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    EXPECT_THAT(login(client_, server, true), Succeeded());
    EXPECT_THAT(client_.changeDirectory("pub"), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());
    client_.disconnect();

    EXPECT_EQ(readBytes(server.home() / "pub" / "ip.html"), kPage);
    EXPECT_THAT(filesIn(server.home()), ElementsAre("pub/ip.html"));
    // One login, our CWD and no other, binary type, passive data connection.
    EXPECT_THAT(server.commands(), ElementsAre("USER somnar", "PASS ******", "PWD", "CWD pub",
                                               "EPSV", "TYPE I", "STOR ip.html", "QUIT"));
}

TEST_F(FtpClientTest, ActiveUploadArrivesByteForByteInTheFolder) {
    FtpServer server({.folders = {"pub"}});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    EXPECT_THAT(login(client_, server, false), Succeeded());
    EXPECT_THAT(client_.changeDirectory("pub"), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());
    client_.disconnect();

    EXPECT_EQ(readBytes(server.home() / "pub" / "ip.html"), kPage);
    const auto commands = server.commands();
    EXPECT_THAT(commands, Contains(AnyOf(StartsWith("EPRT "), StartsWith("PORT "))));
    EXPECT_EQ(countOf(commands, "EPSV") + countOf(commands, "PASV"), 0);
    EXPECT_THAT(commands, Contains("TYPE I"));
}

class FtpFolderTest : public FtpClientTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FtpFolderTest, FileLandsInTheNestedFolder) {
    FtpServer server({.folders = {"a/b"}});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    EXPECT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory(GetParam()), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());
    client_.disconnect();

    EXPECT_THAT(filesIn(server.home()), ElementsAre("a/b/ip.html"));
    EXPECT_EQ(countOf(server.commands(), "CWD"), 1);
}

INSTANTIATE_TEST_SUITE_P(RelativeAndAbsolute, FtpFolderTest, ::testing::Values("a/b", "/a/b"));

TEST_F(FtpClientTest, RemoteNameIsStoredAsGiven) {
    FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    EXPECT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory("/"), Succeeded());
    // A blank, a '%' that looks escaped, a '#' and a '?' that end a URL's path.
    EXPECT_THAT(client_.putFile(page.string(), "my ip%20#1?.html"), Succeeded());

    EXPECT_THAT(filesIn(server.home()), ElementsAre("my ip%20#1?.html"));
}

TEST_F(FtpClientTest, WrongPasswordIsRefusedAtConnectWith530) {
    FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();

    ASSERT_THAT(client_.open("VidOru FTP"), Succeeded());
    EXPECT_THAT(client_.connect(server.address(), FtpServer::kUser, "wrong", true), FailsWith(530));
}

TEST_F(FtpClientTest, MissingFolderIsRefusedWith550) {
    FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();

    ASSERT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory("nowhere"), FailsWith(550));
}

// The test server refuses a bare CWD, as common servers do.
TEST_F(FtpClientTest, EmptyFolderSendsNoCwdAndStoresInTheLoginFolder) {
    FtpServer server({.folders = {"pub"}});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    ASSERT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory(""), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());
    client_.disconnect();

    EXPECT_EQ(readBytes(server.home() / "ip.html"), kPage);
    EXPECT_THAT(filesIn(server.home()), ElementsAre("ip.html"));
    EXPECT_THAT(server.commands(), ElementsAre("USER somnar", "PASS ******", "PWD", "EPSV",
                                               "TYPE I", "STOR ip.html", "QUIT"));
}

TEST_F(FtpClientTest, ServerNobodyListensOnFailsWith7) {
    const unsigned port = test::closedLoopbackPort();
    ASSERT_NE(port, 0u);

    ASSERT_THAT(client_.open("VidOru FTP"), Succeeded());
    EXPECT_THAT(client_.connect("127.0.0.1:" + std::to_string(port), "user", "password", true),
                FailsWith(7));
}

TEST_F(FtpClientTest, MissingLocalFileFailsWith37AndSendsNothing) {
    FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    ASSERT_THAT(login(client_, server), Succeeded());
    ASSERT_THAT(client_.changeDirectory("/"), Succeeded());
    EXPECT_THAT(client_.putFile((local_.path() / "missing.html").string(), "ip.html"),
                FailsWith(37));
    EXPECT_THAT(client_.putFile(local_.path().string(), "ip.html"), FailsWith(37));
    EXPECT_EQ(countOf(server.commands(), "STOR"), 0);

    // The connection is still good for the next try.
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());
    EXPECT_EQ(readBytes(server.home() / "ip.html"), kPage);
}

TEST_F(FtpClientTest, RefusedStoreFailsWith550) {
    FtpServer server({.readOnly = true});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    ASSERT_THAT(login(client_, server), Succeeded());
    ASSERT_THAT(client_.changeDirectory("/"), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), FailsWith(550));
    EXPECT_THAT(filesIn(server.home()), IsEmpty());
}

TEST_F(FtpClientTest, ServerThatNeverAnswersTimesOutWithinTheLimit) {
    FtpServer server({.silent = true});
    ASSERT_TRUE(server.ok()) << server.error();
    CurlFtpClient client(1s, 1s);

    ASSERT_THAT(client.open("VidOru FTP"), Succeeded());
    const auto start = Clock::now();
    EXPECT_THAT(client.connect(server.address(), "user", "password", true), FailsWith(28));
    const auto took = Clock::now() - start;
    client.disconnect();

    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 3s);
}

// libcurl judges the speed over its samples of the last few seconds, so with a 1 s limit
// the stall is noticed after about 8 s here.
TEST_F(FtpClientTest, StalledUploadFailsWith28) {
    FtpServer server({.stallUploads = true});
    ASSERT_TRUE(server.ok()) << server.error();
    // Far more than the socket buffers on both ends take in.
    const fs::path big = writeLocal("big.bin", std::string(16 << 20, 'x'));
    CurlFtpClient client(kLimit, 1s);

    ASSERT_THAT(login(client, server), Succeeded());
    ASSERT_THAT(client.changeDirectory("/"), Succeeded());
    const auto start = Clock::now();
    EXPECT_THAT(client.putFile(big.string(), "big.bin"), FailsWith(28));
    const auto took = Clock::now() - start;
    client.disconnect();

    EXPECT_LT(took, 15s);
}

// The server hangs up after the CWD; storing on a new login would put the file into the
// login folder instead, so the step stops before STOR.
TEST_F(FtpClientTest, LostConnectionBetweenStepsStoresNothing) {
    FtpServer server({.folders = {"pub"}, .hangUpAfterCwd = true});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path page = writeLocal("ip.html", kPage);

    ASSERT_THAT(login(client_, server), Succeeded());
    ASSERT_THAT(client_.changeDirectory("pub"), Succeeded());
    std::this_thread::sleep_for(200ms);  // until the hang-up has arrived
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), FailsWith(42));

    EXPECT_THAT(filesIn(server.home()), IsEmpty());
    EXPECT_EQ(countOf(server.commands(), "STOR"), 0);
}

TEST_F(FtpClientTest, TwoUploadsInARowWithDisconnectBetween) {
    FtpServer server({.folders = {"pub"}});
    ASSERT_TRUE(server.ok()) << server.error();
    const fs::path first = writeLocal("first.html", kPage);
    const fs::path second = writeLocal("second.html", "<HTML>\r\n10.0.0.2\r\n</HTML>\r\n");

    ASSERT_THAT(login(client_, server), Succeeded());
    ASSERT_THAT(client_.changeDirectory("pub"), Succeeded());
    ASSERT_THAT(client_.putFile(first.string(), "ip.html"), Succeeded());
    client_.disconnect();
    client_.disconnect();

    ASSERT_THAT(login(client_, server), Succeeded());
    ASSERT_THAT(client_.changeDirectory("pub"), Succeeded());
    ASSERT_THAT(client_.putFile(second.string(), "ip.html"), Succeeded());
    client_.disconnect();

    EXPECT_EQ(readBytes(server.home() / "pub" / "ip.html"), readBytes(second));
    const auto commands = server.commands();
    EXPECT_EQ(countOf(commands, "USER"), 2);
    EXPECT_EQ(countOf(commands, "QUIT"), 2);
}

TEST_F(FtpClientTest, Ipv6AddressInBracketsWithPort) {
    FtpServer server({.host = "::1"});
    if (!server.ok()) {
        GTEST_SKIP() << "no FTP server on ::1: " << server.error();
    }
    const fs::path page = writeLocal("ip.html", kPage);

    EXPECT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory("/"), Succeeded());
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), Succeeded());

    EXPECT_EQ(readBytes(server.home() / "ip.html"), kPage);
}

TEST_F(FtpClientTest, EmptyUserLogsInAsAnonymous) {
    FtpServer server({.anonymous = true});
    ASSERT_TRUE(server.ok()) << server.error();

    ASSERT_THAT(client_.open("VidOru FTP"), Succeeded());
    EXPECT_THAT(client_.connect(server.address(), "", "", true), Succeeded());
    EXPECT_THAT(server.commands(), Contains("USER anonymous"));
}

TEST_F(FtpClientTest, LineBreakInFolderIsRefusedBeforeSending) {
    FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();

    ASSERT_THAT(login(client_, server), Succeeded());
    EXPECT_THAT(client_.changeDirectory("pub\r\nMKD injected"), FailsWith(43));

    EXPECT_FALSE(fs::exists(server.home() / "injected"));
    EXPECT_EQ(countOf(server.commands(), "CWD"), 0);
}

TEST_F(FtpClientTest, StepsWithoutLoginFailWith2) {
    const fs::path page = writeLocal("ip.html", kPage);
    client_.disconnect();

    EXPECT_THAT(client_.changeDirectory("pub"), FailsWith(2));
    EXPECT_THAT(client_.putFile(page.string(), "ip.html"), FailsWith(2));
    ASSERT_THAT(client_.open("VidOru FTP"), Succeeded());
    EXPECT_THAT(client_.changeDirectory("pub"), FailsWith(2));
    client_.disconnect();
    client_.disconnect();
}

TEST(FtpServerAddressTest, PortIsTakenFromTheServerTextOrDefaultsTo21) {
    EXPECT_EQ(parseFtpServer("ftp.example.org"), (FtpServerAddress{"ftp.example.org", 21}));
    EXPECT_EQ(parseFtpServer("ftp.example.org:2121"), (FtpServerAddress{"ftp.example.org", 2121}));
    EXPECT_EQ(parseFtpServer("192.0.2.7:65535"), (FtpServerAddress{"192.0.2.7", 65535}));
    EXPECT_EQ(parseFtpServer("[::1]:2121"), (FtpServerAddress{"::1", 2121}));
    EXPECT_EQ(parseFtpServer("[2001:db8::7]"), (FtpServerAddress{"2001:db8::7", 21}));
    // Without brackets every colon belongs to the address.
    EXPECT_EQ(parseFtpServer("2001:db8::7"), (FtpServerAddress{"2001:db8::7", 21}));
}

TEST(FtpServerAddressTest, MalformedServerTextsAreRefused) {
    for (const char* text :
         {"", ":21", "host:", "host:0", "host:65536", "host:21x", "host:-1", "[::1", "[::1]x",
          "[::1]:", "[]:21", "[host]:21", "user@host", "host/path", "ho st", "host:21:22x"}) {
        EXPECT_EQ(parseFtpServer(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(FtpServerAddressTest, Ipv6HostsGoIntoUrlsInBrackets) {
    EXPECT_EQ(urlHost({"::1", 21}), "[::1]");
    EXPECT_EQ(urlHost({"ftp.example.org", 21}), "ftp.example.org");
}

}  // namespace
}  // namespace somnar

#include "platform/linux/lazy_ftp_client.h"

namespace somnar {
namespace {

// The program reaches the FTP client through its module, loaded at the first upload.
TEST(LazyFtpClientTest, LoadsTheModuleAtTheFirstStepAndPassesTheStepsOn) {
    LazyFtpClient client({"/nirgends/somnar_ftp.so", SOMNAR_FTP_MODULE});
    EXPECT_TRUE(client.open("VidOru FTP").ok);
    const FtpResult refused = client.connect(
        "127.0.0.1:" + std::to_string(test::closedLoopbackPort()), "anna", "geheim", true);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.code, 7);  // nothing listens there: libcurl's "could not connect"
    client.disconnect();
}

TEST(LazyFtpClientTest, AMissingModuleFailsEveryStepWithoutCrashing) {
    LazyFtpClient client({"/nirgends/somnar_ftp.so"});
    EXPECT_EQ(client.open("VidOru FTP").code, 2);
    EXPECT_FALSE(client.connect("127.0.0.1", "", "", true).ok);
    EXPECT_FALSE(client.putFile("/tmp/x", "x").ok);
    client.disconnect();
}

TEST(LazyFtpClientTest, ModuleIsFoundBesideTheProgramOrInItsLibraryFolder) {
    EXPECT_EQ(LazyFtpClient::defaultModulePaths("/usr/local/bin"),
              (std::vector<std::string>{"/usr/local/bin/somnar_ftp.so",
                                        "/usr/local/bin/../lib/somnar-scheduler/somnar_ftp.so"}));
}

}  // namespace
}  // namespace somnar
