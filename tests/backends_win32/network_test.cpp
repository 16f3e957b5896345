// The network backends against Wine: the libcurl FTP client against the FTP server on
// loopback that ctest starts (tests/peers/ftp_peer), Winsock, the online state and the
// remote access service.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/curl/curl_ftp_client.h"
#include "platform/win32/ras_dialer.h"
#include "platform/win32/windows_connectivity.h"
#include "platform/win32/winsock_host_address.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
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

// The FTP client of both systems over the static libcurl, under Wine.
TEST(CurlFtpClientWin32Test, UploadsArriveByteForByteInBothModesAndAWrongLoginGetsTheReply) {
    std::string bytes("<html>\r\n\0\xff\xe4 \n\r", 14);
    for (int i = 0; i < 70000; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    const std::string local = peer("upload.bin");
    std::ofstream(local, std::ios::binary) << bytes;
    const struct {
        bool passive;
        std::string password, remote, modeCommand;
        long code;
        std::string reply;
    } cases[] = {{true, "pa:ss word", "passiv.html", "EPSV", 0, ""},
                 {false, "pa:ss word", "aktiv.html", "EPRT |1|127.0.0.1|", 0, ""},
                 {true, "falsch", "", "", 530, "530 Authentication failed."}};
    std::size_t storedBefore = 0;
    for (const auto& c : cases) {
        CurlFtpClient client;
        ASSERT_TRUE(client.open("VidOru FTP").ok);
        const FtpResult connected = client.connect({server(), "somnar", c.password, c.passive});
        EXPECT_EQ(connected.code, c.code) << c.password;
        EXPECT_EQ(connected.reply, c.reply);
        if (c.code != 0) {
            continue;
        }
        EXPECT_TRUE(client.changeDirectory("pub").ok);
        EXPECT_EQ(client.putFile(local, c.remote).code, 0) << c.remote;
        client.disconnect();
        // Compared as a whole, not shown: a 70 kB difference would bury the report.
        EXPECT_TRUE(readFile(peer("home/pub/" + c.remote)) == bytes) << c.remote;
        // The mode asked for, between the store before and this one.
        const std::string log = readFile(peer("log"));
        const auto stored = log.find("\nSTOR " + c.remote + "\n", storedBefore);
        ASSERT_NE(stored, std::string::npos) << c.remote;
        EXPECT_LT(log.find("\n" + c.modeCommand, storedBefore), stored) << c.remote;
        storedBefore = stored;
    }
}

// Over TLS to a vsftpd that requires it, trusting the test's own certificate; the local file
// lies under a UTF-8 name with an umlaut, which Windows' narrow file functions would miss.
TEST(CurlFtpClientWin32Test, AnUploadOverTlsArrivesFromAFileWithAnUmlaut) {
    const std::string page = peer(
                          "B\xc3\xbc"
                          "cher.html"),
                      text = "<HTML>\r\nTLS\r\n";
    const std::u8string name(reinterpret_cast<const char8_t*>(page.data()), page.size());
    std::ofstream(std::filesystem::path(name), std::ios::binary) << text;
    const std::string ca = readFile(peer("tls-ca"));
    CurlFtpClient client(std::chrono::seconds(30), std::chrono::seconds(30),
                         "Z:" + ca.substr(0, ca.find('\n')));
    ASSERT_TRUE(client.open("VidOru FTP").ok);
    // By name: Schannel in this libcurl matches the certificate's DNS names, not addresses.
    const std::string port = readFile(peer("tls-port"));
    const FtpResult connected = client.connect({"localhost:" + port.substr(0, port.find('\n')),
                                                "anonymous", "x", true, FtpEncryption::Required});
    ASSERT_TRUE(connected.ok) << connected.code << " " << connected.reply;
    EXPECT_TRUE(client.changeDirectory("pub").ok);
    EXPECT_EQ(client.putFile(page, "ip.html").code, 0);
    client.disconnect();
    EXPECT_EQ(readFile(peer("tls-home/pub/ip.html")), text);
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
