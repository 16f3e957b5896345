// The publication as it runs after waking, with the real ip.html writing and the real FTP
// client against a loopback server; the other seams are fakes.

#include "platform/linux/ftp/curl_ftp_client.h"
#include "platform/linux/linux_files.h"

#include "app/main_window_model.h"
#include "backends/ftp_server.h"
#include "backends/test_environment.h"
#include "fakes/fake_platform.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace somnar {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An ip.html left read-only by an earlier run is replaced by the new one, never sent in
// its place; an empty folder uploads into the folder the login put us in.
TEST(PublicationTest, TheNewDocumentReplacesAReadOnlyOldOneAndGoesToTheLoginFolder) {
    test::FtpServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    test::TempDir programFolder;
    const fs::path local = programFolder.path() / "ip.html";
    std::ofstream(local) << "ALT\r\n";
    ASSERT_EQ(::chmod(local.c_str(), 0444), 0);

    testing::FakePlatform fake;
    fake.program.installedIn = programFolder.path().string();
    fake.connectivity.online = true;
    fake.hostAddress.interfaces = {{10, 0, 0, 7}};
    LinuxFiles files;
    CurlFtpClient ftp;
    Services services{fake.clock,        fake.dialogs,     fake.desktop,  fake.program,
                      fake.instance,     fake.power,       fake.dialer,   fake.settings,
                      fake.tray,         fake.wakeAlarm,   fake.programs, fake.fileDialog,
                      fake.connectivity, fake.hostAddress, files,         ftp,
                      fake.journal,      fake.notifier};
    InfoWindow info(services);
    MainWindow form(services, info);
    form.load();
    form.ftpServer.setText(server.address());
    form.ftpUser.setText(test::FtpServer::kUser);
    form.ftpPassword.setText(test::FtpServer::kPassword);
    form.ftpFolder.setText("");

    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();

    EXPECT_TRUE(fake.dialogs.shown.empty()) << fake.dialogs.shown.at(0).text;
    const std::string sent = readBytes(server.home() / "ip.html");
    EXPECT_NE(sent.find("<CENTER> Meine IP-Adresse lautet: 10.0.0.7\r\n"), std::string::npos);
    EXPECT_EQ(sent, readBytes(local));
    EXPECT_EQ(form.ftpStatus.caption(), "Disconnected...");
}

}  // namespace
}  // namespace somnar
