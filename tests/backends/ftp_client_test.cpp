

#include "backends/test_environment.h"
#include "platform/linux/ftp/curl_ftp_client.h"
#include "platform/linux/lazy_ftp_client.h"

namespace somnar {
namespace {

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
        bool passive;
        const char* host;
        std::string folder, remote;
        std::string commands;  // the start of each between login and QUIT
    } cases[] = {{true, "127.0.0.1", "pub", "ip.html", "CWD pub,EPSV,TYPE I,STOR ip.html"},
                 {false, "127.0.0.1", "/a/b", "ip.html", "CWD /a/b,EPRT ,TYPE I,STOR"},
                 {true, "127.0.0.1", "", "ip.html", "EPSV,TYPE I,STOR"},
                 {true, "::1", "/", "my ip%20#1?.html", "CWD /,EPSV,TYPE I,STOR my ip%20#1?.html"}};
    for (const auto& c : cases) {
        FtpServer server({"--folder", "pub", "--folder", "a/b", "--host", c.host});
        CurlFtpClient client(2s, 2s);
        client.open("Somnar Scheduler");
        EXPECT_THAT(
            client.connect(server.address, FtpServer::kUser, FtpServer::kPassword, c.passive),
            Succeeded());
        EXPECT_THAT(client.changeDirectory(c.folder), Succeeded());
        EXPECT_THAT(client.putFile(page_.string(), c.remote), Succeeded());
        client.disconnect();
        client.disconnect();
        std::string stored = c.folder + "/" + c.remote;
        stored.erase(0, stored.find_first_not_of('/'));
        EXPECT_EQ(test::filesIn(server.home), Lines{stored});
        EXPECT_EQ(test::contentOf(server.home / stored), kPage);
        // Each command received, cut to the length of the one expected in its place.
        const std::string expected = "USER somnar,PASS ******,PWD," + c.commands + ",QUIT";
        std::string received;
        for (const std::string& command : server.commands()) {
            const std::size_t next = received.size() + (received.empty() ? 0 : 1);
            received +=
                (received.empty() ? "" : ",") + command.substr(0, expected.find(',', next) - next);
        }
        EXPECT_EQ(received, expected);
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

// Steps without a login fail with 2; a malformed server 3, nobody listening 7, a server
// that never answers 28 after the answer limit; a line break cannot smuggle in a command.
TEST_F(FtpClientTest, WhatNeverReachesAServer) {
    EXPECT_THAT(CurlFtpClient().putFile(page_.string(), "ip.html"), FailsWith(2));
    EXPECT_THAT(client_.changeDirectory("pub"), FailsWith(2));
    const std::string closed = FtpServer().address;  // gone with the server
    EXPECT_THAT(client_.connect(closed, "a", "b", true), FailsWith(7));
    for (const char* server : {"host:0", "host:65536", "[host]:21", "user@host", "fe80::1%eth0"}) {
        EXPECT_THAT(client_.connect(server, "a", "b", true), FailsWith(3)) << server;
    }
    EXPECT_THAT(client_.connect("127.0.0.1", "anna\r\nSITE x", "b", true), FailsWith(43));
    FtpServer silent({"--silent"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(client_.connect(silent.address, "a", "b", true), FailsWith(28));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

// The program reaches the FTP client through the first module found, loaded at the first
// upload; without one every step fails with 2.
TEST(LazyFtpClientTest, LoadsTheFirstModuleFoundOrFailsEveryStepWith2) {
    LazyFtpClient client({"/nirgends/somnar_ftp.so", SOMNAR_FTP_MODULE});
    ASSERT_THAT(client.open("Somnar Scheduler"), Succeeded());
    const std::string closed = FtpServer().address;
    EXPECT_THAT(client.connect(closed, "anna", "geheim", true), FailsWith(7));
    EXPECT_THAT(LazyFtpClient({"/nirgends/somnar_ftp.so"}).open("Somnar"), FailsWith(2));
}

}  // namespace
}  // namespace somnar
