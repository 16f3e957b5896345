

#include "backends/test_environment.h"
#include "platform/linux/ftp/curl_ftp_client.h"
#include "platform/linux/ftp/ftp_server_address.h"
#include "platform/linux/lazy_ftp_client.h"

namespace somnar {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using test::FtpServer;

// ip.html as the program writes it, with a lone LF, a lone CR and bytes a text transfer
// would touch: only a binary transfer keeps them all.
const std::string kPage =
    "<HTML>\r\n127.0.0.1\r\nlone\nline\rends \x1a\xe4\xff" + std::string(1, '\0') + "end\r\n";

MATCHER_P(FailsWith, code, "fails with code " + std::to_string(code)) {
    *result_listener << "ok " << arg.ok << ", code " << arg.code;
    return !arg.ok && arg.code == code;
}
MATCHER(Succeeded, "succeeds") {
    *result_listener << "code " << arg.code;
    return arg.ok && arg.code == 0;
}

class FtpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(page_, kPage);
        ASSERT_THAT(client_.open("Somnar Scheduler"), Succeeded());
    }

    test::TempDir local_;
    fs::path page_ = local_.path() / "ip.html";
    CurlFtpClient client_{2s, 2s};
};

// Binary, in passive or active mode, on one login; an empty folder is the login's folder
// (no bare CWD, which the test server refuses as common servers do); the remote name as
// given, with a blank, a '%' that looks escaped, a '#' and a '?' that end a URL's path.
TEST_F(FtpClientTest, UploadArrivesByteForByteWhereItBelongs) {
    const struct {
        std::vector<std::string> server;
        bool passive;
        std::string folder, remote, stored;
        std::string commands;  // the start of each command the server received
    } cases[] = {{{"--folder", "pub"},
                  true,
                  "pub",
                  "ip.html",
                  "pub/ip.html",
                  "USER somnar,PASS ******,PWD,CWD pub,EPSV,TYPE I,STOR ip.html,QUIT"},
                 {{"--folder", "a/b"},
                  false,
                  "/a/b",
                  "ip.html",
                  "a/b/ip.html",
                  "USER,PASS,PWD,CWD /a/b,EPRT ,TYPE I,STOR,QUIT"},
                 {{"--folder", "pub"},
                  true,
                  "",
                  "ip.html",
                  "ip.html",
                  "USER,PASS,PWD,EPSV,TYPE I,STOR,QUIT"},
                 {{"--host", "::1"},
                  true,
                  "/",
                  "my ip%20#1?.html",
                  "my ip%20#1?.html",
                  "USER,PASS,PWD,CWD /,EPSV,TYPE I,STOR my ip%20#1?.html,QUIT"}};
    for (const auto& c : cases) {
        FtpServer server(c.server);
        CurlFtpClient client(2s, 2s);
        client.open("Somnar Scheduler");
        EXPECT_THAT(
            client.connect(server.address, FtpServer::kUser, FtpServer::kPassword, c.passive),
            Succeeded());
        EXPECT_THAT(client.changeDirectory(c.folder), Succeeded());
        EXPECT_THAT(client.putFile(page_.string(), c.remote), Succeeded());
        client.disconnect();
        client.disconnect();
        EXPECT_EQ(test::filesIn(server.home), Lines{c.stored});
        EXPECT_EQ(test::contentOf(server.home / c.stored), kPage);
        // Each command received, cut to the length of the one expected in its place.
        std::string received;
        for (const std::string& command : server.commands()) {
            const std::size_t next = received.size() + (received.empty() ? 0 : 1);
            received += (received.empty() ? "" : ",") +
                        command.substr(0, c.commands.find(',', next) - next);
        }
        EXPECT_EQ(received, c.commands);
    }
}

TEST_F(FtpClientTest, RefusalsCarryTheServersReplyCode) {
    FtpServer server({"--read-only", "--anonymous"});
    EXPECT_THAT(client_.connect(server.address, FtpServer::kUser, "wrong", true), FailsWith(530));
    EXPECT_THAT(client_.connect(server.address, "", "", true), Succeeded());
    EXPECT_THAT(server.commands(), ::testing::Contains("USER anonymous"));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), FailsWith(550));
    EXPECT_THAT(client_.changeDirectory("nowhere"), FailsWith(550));
    EXPECT_THAT(client_.changeDirectory("pub\r\nMKD injected"), FailsWith(43));
    EXPECT_THAT(test::filesIn(server.home), ::testing::IsEmpty());
}

// A missing local file sends nothing, and the connection is still good for the next try;
// a lost connection stores nothing (a new login would store in the wrong folder).
TEST_F(FtpClientTest, LocalOrConnectionTroubleStoresNothing) {
    FtpServer server({"--folder", "pub", "--hang-up-after-cwd"});
    ASSERT_THAT(client_.connect(server.address, FtpServer::kUser, FtpServer::kPassword, true),
                Succeeded());
    EXPECT_THAT(client_.putFile((local_.path() / "missing.html").string(), "ip.html"),
                FailsWith(37));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Succeeded());
    ASSERT_THAT(client_.changeDirectory("pub"), Succeeded());
    std::this_thread::sleep_for(200ms);  // until the hang-up has arrived
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), FailsWith(42));
    EXPECT_EQ(test::filesIn(server.home), Lines{"ip.html"});
}

// Steps without a login fail with 2; nobody listening gives 7, a server that never answers
// 28 after the answer limit; a line break cannot smuggle in a command.
TEST_F(FtpClientTest, WhatNeverReachesAServer) {
    EXPECT_THAT(CurlFtpClient().putFile(page_.string(), "ip.html"), FailsWith(2));
    EXPECT_THAT(client_.changeDirectory("pub"), FailsWith(2));
    const std::string closed = "127.0.0.1:" + std::to_string(test::closedLoopbackPort());
    EXPECT_THAT(client_.connect(closed, "a", "b", true), FailsWith(7));
    EXPECT_THAT(client_.connect("host:0", "a", "b", true), FailsWith(3));
    EXPECT_THAT(client_.connect("127.0.0.1", "anna\r\nSITE x", "b", true), FailsWith(43));
    FtpServer silent({"--silent"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(client_.connect(silent.address, "a", "b", true), FailsWith(28));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

TEST(FtpServerAddressTest, PortFromTheTextOrDefault21AndMalformedTextsRefused) {
    EXPECT_EQ(parseFtpServer("ftp.example.org"), (FtpServerAddress{"ftp.example.org", 21}));
    EXPECT_EQ(parseFtpServer("[::1]:2121"), (FtpServerAddress{"::1", 2121}));
    // Without brackets every colon belongs to the address.
    EXPECT_EQ(parseFtpServer("2001:db8::7"), (FtpServerAddress{"2001:db8::7", 21}));
    for (const char* text : {"", ":21", "host:0", "host:65536", "host:21x", "[::1", "[::1]x",
                             "[host]:21", "user@host", "host/path", "fe80::1%eth0"}) {
        EXPECT_EQ(parseFtpServer(text), std::nullopt) << '"' << text << '"';
    }
}

// The program reaches the FTP client through the first module found, loaded at the first
// upload; without one every step fails with 2.
TEST(LazyFtpClientTest, LoadsTheFirstModuleFoundOrFailsEveryStepWith2) {
    const std::string closed = "127.0.0.1:" + std::to_string(test::closedLoopbackPort());
    LazyFtpClient client({"/nirgends/somnar_ftp.so", SOMNAR_FTP_MODULE});
    ASSERT_THAT(client.open("Somnar Scheduler"), Succeeded());
    EXPECT_THAT(client.connect(closed, "anna", "geheim", true), FailsWith(7));
    LazyFtpClient missing({"/nirgends/somnar_ftp.so"});
    EXPECT_THAT(missing.open("Somnar Scheduler"), FailsWith(2));
    EXPECT_THAT(missing.putFile("/tmp/x", "x"), FailsWith(2));
    EXPECT_EQ(LazyFtpClient::defaultModulePaths("/usr/bin"),
              (Lines{"/usr/bin/somnar_ftp.so", "/usr/bin/../lib/somnar-scheduler/somnar_ftp.so"}));
}

}  // namespace
}  // namespace somnar
