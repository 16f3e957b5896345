// The FTP client against real servers from Debian with TLS, started on the loopback.
// Time limits are generous: a loaded machine makes each TLS session take seconds.

#include <sys/mount.h>

#include "backends/test_environment.h"
#include "common/machine_check.h"
#include "fakes/fake_platform.h"
#include "platform/curl/curl_ftp_client.h"
#include "publish/publisher.h"

namespace somnar {
namespace {

using test::FtpServer;
using test::RealFtpServer;

const std::string kPage = "<HTML>\r\nneu\r\n</HTML>\r\n";

struct FtpTlsTest : ::testing::Test {
    void SetUp() override { test::writeFile(page, kPage); }

    // The file's way up as an upload goes: temporary name, then renamed onto ip.html.
    void upload(CurlFtpClient& client, const FtpLogin& login, const std::string& folder) {
        ASSERT_TRUE(client.open("VidOru FTP").ok);
        const FtpResult connected = client.connect(login);
        ASSERT_TRUE(connected.ok) << connected.code << " " << connected.reply;
        EXPECT_TRUE(client.changeDirectory(folder).ok);
        EXPECT_TRUE(client.putFile(page.string(), "ip.html.tmp").ok);
        EXPECT_TRUE(client.rename("ip.html.tmp", "ip.html").ok);
        client.disconnect();
    }

    test::TempDir local;
    fs::path page = local.path() / "ip.html";
};

// vsftpd knows no user of its own here: it takes the anonymous login, in the folder "pub".
TEST_F(FtpTlsTest, TlsIsUsedWhereOfferedAndThePasswordNeverCrossesInClear) {
    const struct {
        const char *kind, *tls;
        FtpEncryption encryption;
    } cases[] = {{"vsftpd", "optional", FtpEncryption::WhenOffered},
                 {"vsftpd", "required", FtpEncryption::Required},
                 {"proftpd", "required", FtpEncryption::WhenOffered},
                 {"pure-ftpd", "required", FtpEncryption::WhenOffered}};
    for (const auto& c : cases) {
        const bool anonymous = std::string(c.kind) == "vsftpd";
        RealFtpServer server(c.kind, c.tls,
                             {"--folder", "pub", "--relay", (local.path() / "relay").string()});
        CurlFtpClient client(20s, 20s, server.caFile);
        upload(client,
               {server.relayAddress, anonymous ? "anonymous" : FtpServer::kUser,
                FtpServer::kPassword, true, c.encryption},
               anonymous ? "pub" : "");
        const fs::path stored = server.home / (anonymous ? "pub/ip.html" : "ip.html");
        EXPECT_EQ(test::contentOf(stored), kPage) << c.kind;
        EXPECT_EQ(test::filesIn(stored.parent_path()), Lines{"ip.html"}) << c.kind;
        const std::string sent = server.clientBytes();
        EXPECT_TRUE(sent.starts_with("AUTH TLS\r\n")) << c.kind;
        EXPECT_EQ(sent.find("PASS"), std::string::npos) << c.kind;
        EXPECT_EQ(sent.find("pa:ss"), std::string::npos) << c.kind;
        fs::remove(local.path() / "relay");
    }
}

// Neither an untrusted certificate nor a server without TLS where it is required gets the
// password; the reason comes with the refusal.
TEST_F(FtpTlsTest, AnUntrustedCertificateOrMissingTlsIsRefusedWithItsReason) {
    const struct {
        const char* tls;
        bool trusted;
        FtpEncryption encryption;
        long code;
        std::string reply;
    } cases[] = {{"required", false, FtpEncryption::WhenOffered, 60,
                  "SSL certificate problem: self-signed certificate"},
                 {"off", true, FtpEncryption::Required, 64, "500 AUTH not understood"}};
    for (const auto& c : cases) {
        RealFtpServer server("proftpd", c.tls, {"--relay", (local.path() / "relay").string()});
        CurlFtpClient client(20s, 20s, c.trusted ? server.caFile : "");
        ASSERT_TRUE(client.open("VidOru FTP").ok);
        const FtpResult refused = client.connect(
            {server.relayAddress, FtpServer::kUser, FtpServer::kPassword, true, c.encryption});
        EXPECT_EQ(std::to_string(refused.code) + " " + refused.reply,
                  std::to_string(c.code) + " " + c.reply);
        EXPECT_EQ(server.clientBytes().find("PASS"), std::string::npos) << c.tls;
        fs::remove(local.path() / "relay");
    }
}

// A disk of 16 pages, full up but for an old ip.html, while it is mounted.
struct FullDisk {
    explicit FullDisk(const fs::path& at) : folder(at) {
        fs::create_directories(folder);
        mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "nr_blocks=16,mode=0777") == 0;
        std::ofstream(folder / "ip.html") << "alt\r\n";
        std::ofstream(folder / "fill") << std::string(16 * 4096, 'x');  // cut off where full
    }
    ~FullDisk() { ::umount2(folder.c_str(), MNT_DETACH); }
    fs::path folder;
    bool mounted = false;
};

// The check stores a probe where the upload will go, so a folder without write rights and a
// full disk show before the night; an upload that fails leaves the old ip.html as it was.
TEST_F(FtpTlsTest, TheCheckFindsAReadOnlyOrFullFolderAndAFailedUploadKeepsTheOldFile) {
    RealFtpServer server("pure-ftpd", "required", {"--folder", "full", "--folder", "fixed"});
    const FullDisk disk(server.home / "full");
    if (!disk.mounted) {
        GTEST_SKIP() << "no small disk to be had here";
    }
    fs::permissions(server.home / "fixed", fs::perms::others_write | fs::perms::group_write,
                    fs::perm_options::remove);
    testing::FakePlatform fake;
    fake.settings.store("VidOru FTP", "Server", server.address);
    fake.settings.store("VidOru FTP", "User", FtpServer::kUser);
    fake.settings.store("VidOru FTP", "Password", FtpServer::kPassword);
    CurlFtpClient client(20s, 20s, server.caFile);
    const std::pair<std::string, std::string> folders[] = {
        {"fixed", "Probedatei speichern: Error: 553; 553 Can't open that file: Permission denied"},
        {"full", "Probedatei speichern: Error: 451; 451 "}};
    for (const auto& [folder, found] : folders) {
        fake.settings.store("VidOru FTP", "Directory", folder);
        const std::string report = checkReport({ftpLoginItem(fake.settings, client)});
        EXPECT_THAT(report, ::testing::HasSubstr(server.address + ", " + found)) << report;
    }
    EXPECT_EQ(test::filesIn(server.home / "fixed"), Lines{});

    Publisher publisher(
        {fake.connectivity, fake.hostAddress, fake.files, fake.program, fake.clock, client});
    std::string failed;
    publisher.upload({{server.address, FtpServer::kUser, FtpServer::kPassword, true},
                      "full",
                      page.string(),
                      "ip.html"},
                     {[](const std::string&) {},
                      [&](const std::string& step, const FtpResult& result) {
                          failed = step + " " + std::to_string(result.code);
                      },
                      [](const std::string&) {}});
    EXPECT_EQ(failed, "File Transfer Error 451");
    EXPECT_EQ(test::contentOf(disk.folder / "ip.html"), "alt\r\n");
    EXPECT_THAT(test::filesIn(disk.folder), ::testing::UnorderedElementsAre("fill", "ip.html"));
}

}  // namespace
}  // namespace somnar
