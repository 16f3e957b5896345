// The network backends against Wine: WinINet against the FTP server on loopback that ctest
// starts (tests/peers/ftp_peer), Winsock, the online state and the remote access service.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/ras_dialer.h"
#include "platform/win32/windows_connectivity.h"
#include "platform/win32/wininet_ftp_client.h"
#include "platform/win32/winsock_host_address.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace somnar::win32 {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The peer's folder, from ctest; the server's root is its "home".
std::string peer(const std::string& name) {
    const char* folder = std::getenv("SOMNAR_NET_PEER");
    return std::string(folder ? folder : "(SOMNAR_NET_PEER unset: run through ctest)") + "/" + name;
}

std::string server(const char* portFile = "port") {
    std::string port = readFile(peer(portFile));
    return "127.0.0.1:" + port.substr(0, port.find('\n'));
}

TEST(WinInetFtpClientTest, AnUploadArrivesByteForByteInTheChosenFolderInBothModes) {
    std::string bytes("<html>\r\n\0\xff\xe4 \n\r", 14);
    for (int i = 0; i < 70000; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    // Its own file: the refusal test beside it in ctest writes "ip.html".
    const std::string local = peer("upload.bin");
    std::ofstream(local, std::ios::binary) << bytes;
    for (const bool passive : {true, false}) {
        const std::string remote = passive ? "passiv.html" : "aktiv.html";
        WinInetFtpClient client;
        ASSERT_TRUE(client.open("VidOru FTP").ok);
        const FtpResult connected = client.connect(server(), "somnar", "pa:ss word", passive);
        ASSERT_TRUE(connected.ok) << connected.code;
        EXPECT_TRUE(client.changeDirectory("pub").ok);
        const FtpResult sent = client.putFile(local, remote);
        EXPECT_TRUE(sent.ok) << sent.code;
        client.disconnect();
        // Compared as a whole, not shown: a 70 kB difference would bury the report.
        EXPECT_TRUE(readFile(peer("home/pub/" + remote)) == bytes) << remote;
    }
    const std::string log = readFile(peer("log"));
    for (const char* command : {"CWD pub", "TYPE I", "PASV", "PORT", "STOR aktiv.html"}) {
        EXPECT_NE(log.find(command), std::string::npos) << command;
    }
}

// The server's refusal comes as its reply code, a failure without one as WinINet's number;
// a line break or NUL never reaches the server.
TEST(WinInetFtpClientTest, RefusalsCarryTheServersReplyElseWinInetsNumber) {
    using namespace std::string_literals;
    const std::string closed = server("closed-port");  // nobody listens there
    const struct {
        std::string server, user, password, folder, file;
        long connectCode, folderCode, fileCode;
    } cases[] = {{server(), "somnar", "falsch", "", "", 530, 12019, 12019},
                 {server(), "somnar", "pa:ss word", "fehlt", "ip.html", 0, 550, 0},
                 {server(), "somnar", "pa:ss word", "pub\r\nMKD x", "fehlt.html", 0, 87, 110},
                 {server(), "somnar", "pa:ss word", "", "a\r\nDELE ip.html", 0, 0, 87},
                 {server(), "somnar\r\nMKD y", "p", "", "", 87, 12019, 12019},
                 {server(), "somnar", "pa:ss\0word"s, "", "", 87, 12019, 12019},
                 {closed, "somnar", "pa:ss word", "", "", 12029, 12019, 12019},
                 {"127.0.0.1:0", "a", "b", "", "", 12005, 12019, 12019},
                 {"user@127.0.0.1", "a", "b", "", "", 12005, 12019, 12019}};
    std::ofstream(peer("ip.html")) << "<html>";
    for (const auto& c : cases) {
        WinInetFtpClient client;
        ASSERT_TRUE(client.open("VidOru FTP").ok);
        const std::string local = peer(c.file == "fehlt.html" ? c.file : "ip.html");
        EXPECT_EQ(client.connect(c.server, c.user, c.password, true).code, c.connectCode)
            << c.server << " " << c.user;
        EXPECT_EQ(client.changeDirectory(c.folder).code, c.folderCode) << c.folder;
        EXPECT_EQ(client.putFile(local, c.file.empty() ? "ip.html" : c.file).code, c.fileCode)
            << c.file;
    }
    WinInetFtpClient impatient(std::chrono::seconds(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(impatient.connect(server("silent-port"), "a", "b", true).code, 12002);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    const std::string log = readFile(peer("log"));
    for (const char* injected : {"MKD", "DELE", "SITE"}) {
        EXPECT_EQ(log.find(injected), std::string::npos) << injected;
    }
}

TEST(WinsockHostAddressTest, TheNameResolvesToLoopbackAndTheInterfacesGiveTheMachinesAddresses) {
    WinsockHostAddress host;
    const HostNameResult name = host.hostName();
    ASSERT_TRUE(name.name);
    EXPECT_EQ(name.errorCode, 0);
    // Wine resolves the host name to loopback only.
    EXPECT_EQ(host.resolveIpv4(*name.name), (std::vector<Ipv4Address>{{127, 0, 0, 1}}));
    EXPECT_TRUE(host.resolveIpv4("").empty());
    std::vector<std::string> expected{"127.0.0.1"};
    std::istringstream addresses(readFile(peer("addresses")));
    for (std::string line; std::getline(addresses, line);) {
        expected.push_back(line);
    }
    std::vector<std::string> found;
    for (const Ipv4Address& a : host.interfaceIpv4()) {
        found.push_back(std::to_string(a[0]) + "." + std::to_string(a[1]) + "." +
                        std::to_string(a[2]) + "." + std::to_string(a[3]));
    }
    EXPECT_THAT(found, ::testing::UnorderedElementsAreArray(expected));
    EXPECT_TRUE(WindowsConnectivity().isConnected());
}

TEST(RasDialerTest, AnEmptyPhoneBookListsNothingAndEveryDialIsRefusedWithItsReason) {
    using namespace std::string_literals;
    RasDialer dialer(std::chrono::milliseconds(100));
    EXPECT_TRUE(dialer.listEntries().empty());
    const struct {
        std::string name, user, password;
        DialError error;
        std::string detail;
    } cases[] = {{"", "anna", "geheim", DialError::NothingSelected, ""},
                 {"Büro", "anna\r\n", "geheim", DialError::UnusableCredentials, ""},
                 {"Büro", "anna", "ge\0heim"s, DialError::UnusableCredentials, ""},
                 {"Büro", "anna", "geheim", DialError::UnknownName, "Büro"}};
    for (const auto& c : cases) {
        const DialResult result = dialer.dial(c.name, c.user, c.password);
        EXPECT_EQ(result.error, c.error) << c.name << c.user;
        EXPECT_EQ(result.detail, c.detail);
    }
    // Wine has no words for it, Windows puts them before the number.
    EXPECT_THAT(rasErrorText(676), ::testing::EndsWith("(676)"));
}

}  // namespace
}  // namespace somnar::win32
