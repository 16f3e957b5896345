// The FTP upload against a pyftpdlib server on the loopback.

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

// Succeeds with code 0, or fails with the code.
MATCHER_P(Gives, code, "gives code " + std::to_string(code)) {
    *result_listener << "ok " << arg.ok << ", code " << arg.code;
    return arg.ok == (code == 0) && arg.code == code;
}

class FtpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(page_, kPage);
        ASSERT_THAT(client_.open("Somnar Scheduler"), Gives(0));
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
        std::string commands;  // between login and QUIT
    } cases[] = {{true, "127.0.0.1", "pub", "ip.html", "CWD pub,EPSV,TYPE I,STOR ip.html"},
                 {false, "127.0.0.1", "/a/b", "ip.html", "CWD /a/b,EPRT,TYPE I,STOR ip.html"},
                 {true, "127.0.0.1", "", "ip.html", "EPSV,TYPE I,STOR ip.html"},
                 {true, "::1", "/", "my ip%20#1?.html", "CWD /,EPSV,TYPE I,STOR my ip%20#1?.html"}};
    for (const auto& c : cases) {
        FtpServer server({"--folder", "pub", "--folder", "a/b", "--host", c.host});
        EXPECT_THAT(
            client_.connect(server.address, FtpServer::kUser, FtpServer::kPassword, c.passive),
            Gives(0));
        EXPECT_THAT(client_.changeDirectory(c.folder), Gives(0));
        EXPECT_THAT(client_.putFile(page_.string(), c.remote), Gives(0));
        client_.disconnect();
        client_.disconnect();
        std::string stored = c.folder + "/" + c.remote;
        stored.erase(0, stored.find_first_not_of('/'));
        EXPECT_EQ(test::filesIn(server.home), Lines{stored});
        EXPECT_EQ(test::contentOf(server.home / stored), kPage);
        std::string received;  // EPRT without its address, which the system picks
        for (const std::string& command : server.commands()) {
            received += (received.empty() ? "" : ",") + command.substr(0, command.find(" |"));
        }
        EXPECT_EQ(received, "USER somnar,PASS ******,PWD," + c.commands + ",QUIT");
    }
}

TEST_F(FtpClientTest, RefusalsCarryTheServersReplyCode) {
    FtpServer server({"--read-only", "--anonymous"});
    EXPECT_THAT(client_.connect(server.address, FtpServer::kUser, "wrong", true), Gives(530));
    EXPECT_THAT(client_.connect(server.address, "", "", true), Gives(0));
    EXPECT_THAT(server.commands(), ::testing::Contains("USER anonymous"));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(550));
    EXPECT_THAT(client_.changeDirectory("nowhere"), Gives(550));
    EXPECT_THAT(client_.changeDirectory("pub\r\nMKD injected"), Gives(43));
    EXPECT_THAT(test::filesIn(server.home), ::testing::IsEmpty());
}

// A missing local file sends nothing, and the connection is still good for the next try;
// a lost connection stores nothing (a new login would store in the wrong folder).
TEST_F(FtpClientTest, LocalOrConnectionTroubleStoresNothing) {
    FtpServer server({"--folder", "pub", "--hang-up-after-cwd"});
    ASSERT_THAT(client_.connect(server.address, FtpServer::kUser, FtpServer::kPassword, true),
                Gives(0));
    EXPECT_THAT(client_.putFile((local_.path() / "missing.html").string(), "ip.html"), Gives(37));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(0));
    ASSERT_THAT(client_.changeDirectory("pub"), Gives(0));
    std::this_thread::sleep_for(200ms);  // until the hang-up has arrived
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(42));
    EXPECT_EQ(test::filesIn(server.home), Lines{"ip.html"});
}

// Steps without a login fail with 2; a malformed server 3, nobody listening 7, a server
// that never answers 28 after the answer limit; a line break cannot smuggle in a command.
TEST_F(FtpClientTest, WhatNeverReachesAServer) {
    EXPECT_THAT(CurlFtpClient().putFile(page_.string(), "ip.html"), Gives(2));
    EXPECT_THAT(client_.changeDirectory("pub"), Gives(2));
    const std::string closed = FtpServer().address;  // gone with the server
    EXPECT_THAT(client_.connect(closed, "a", "b", true), Gives(7));
    for (const char* server : {"host:0", "host:65536", "[host]:21", "user@host", "fe80::1%eth0"}) {
        EXPECT_THAT(client_.connect(server, "a", "b", true), Gives(3)) << server;
    }
    EXPECT_THAT(client_.connect("127.0.0.1", "anna\r\nSITE x", "b", true), Gives(43));
    FtpServer silent({"--silent"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(client_.connect(silent.address, "a", "b", true), Gives(28));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

// The program reaches the FTP client through the first module found, loaded at the first
// upload; without one every step fails with 2.
TEST(LazyFtpClientTest, LoadsTheFirstModuleFoundOrFailsEveryStepWith2) {
    LazyFtpClient client({"/nirgends/somnar_ftp.so", SOMNAR_FTP_MODULE});
    ASSERT_THAT(client.open("Somnar Scheduler"), Gives(0));
    const std::string closed = FtpServer().address;
    EXPECT_THAT(client.connect(closed, "anna", "geheim", true), Gives(7));
    EXPECT_THAT(LazyFtpClient({"/nirgends/somnar_ftp.so"}).open("Somnar"), Gives(2));
}

}  // namespace
}  // namespace somnar
