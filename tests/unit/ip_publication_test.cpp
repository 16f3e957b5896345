// The connection watch, the address lookup, ip.html and the FTP upload.

#include <gtest/gtest.h>

#include "publish/publisher.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::EventLog;
using Calls = std::vector<std::string>;

const std::string kNoAnswer =
    "Windows Sockets are not responding. Unable to successfully get Host Name.";
const Calls kUpload{"open VidOru FTP", "connect ftp.example.org web1 geheim", "cwd /htdocs",
                    "put /opt/somnar/ip.html ip.html", "disconnect"};

std::string socketsError(const std::string& code) {
    return "Windows Sockets error " + code + " has occurred. Unable to successfully get Host Name.";
}

TEST(AddressLookupTest, SkipsLoopbackAndTellsWhyThereIsNone) {
    const struct {
        std::vector<Ipv4Address> resolved, interfaces;
        std::optional<int> hostNameError;  // empty: the host name is known
        std::string address, problem;
        bool socketsDown = false;
    } cases[] = {
        {{{127, 0, 1, 1}, {192, 168, 0, 5}, {10, 0, 0, 1}}, {}, {}, "192.168.0.5", ""},
        {{{127, 0, 1, 1}}, {{127, 0, 0, 1}, {172, 17, 0, 2}, {10, 1, 2, 3}}, {}, "172.17.0.2", ""},
        {{}, {{172, 17, 0, 2}}, {}, "172.17.0.2", ""},
        {{{127, 0, 1, 1}}, {{127, 0, 0, 1}}, {}, "", kNoAnswer},
        {{}, {}, 5, "", socketsError(" 5")},
        {{}, {}, 0, "", socketsError(" 0")},
        {{}, {}, -3, "", socketsError("-3")},
        {{}, {}, 10091, "", "The 32-bit Windows Socket is not responding.", true},
    };
    for (const auto& c : cases) {
        testing::FakePlatform platform;
        if (c.hostNameError) {
            platform.hostAddress.name = {std::nullopt, *c.hostNameError, c.socketsDown};
        }
        platform.hostAddress.resolver["somnar-pc"] = c.resolved;
        platform.hostAddress.interfaces = c.interfaces;
        const AddressLookup found =
            Publisher({platform.connectivity, platform.hostAddress, platform.files,
                       platform.program, platform.clock, platform.ftp})
                .localIpAddress();
        EXPECT_EQ(found.address + "|" + found.problem, c.address + "|" + c.problem);
    }
}

struct PublicationTest : testing::FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 7, 0, 0, 0);
        platform.hostAddress.resolver["somnar-pc"] = {{127, 0, 1, 1}, {192, 168, 0, 5}};
        ui.ftpServer.setText("ftp.example.org");
        ui.ftpUser.setText("web1");
        ui.ftpPassword.setText("geheim");
        ui.ftpFolder.setText("/htdocs");
        ui.connectionWatch.setEnabled(true);
    }
    std::string document() const { return platform.files.written.at("/opt/somnar/ip.html"); }
};

TEST_F(PublicationTest, TheWatchWaitsForTheConnectionThenPublishesOnceInOrder) {
    for (int tick = 0; tick < 3; ++tick) {
        ui.connectionWatch.tick();
    }
    EXPECT_EQ(platform.connectivity.asked, 3);
    EXPECT_TRUE(platform.log.empty());
    EXPECT_EQ(ui.ipAddressLine.caption(), "0.0.0.0");

    platform.connectivity.online = true;
    ui.passiveBox.setValue(CheckBox::Grayed);  // counts as ticked
    Calls statusDuring;
    platform.ftp.during = [&](const std::string&) {
        statusDuring.push_back(ui.ftpStatus.caption());
    };
    ui.connectionWatch.tick();
    ui.connectionWatch.tick();  // stopped: nothing more
    EXPECT_EQ(ui.ipAddressLine.caption(), "192.168.0.5");
    EXPECT_EQ(document(),
              "<HTML>\r\n<CENTER> Meine IP-Adresse lautet: 192.168.0.5\r\n<CENTER> Rechner wurde "
              "gestartet: 07.12.2026\r\n</CENTER></HTML>\r\n");
    EXPECT_EQ(platform.log, (EventLog{"write /opt/somnar/ip.html", "ftp open VidOru FTP",
                                      "ftp connect ftp.example.org web1 geheim", "ftp cwd /htdocs",
                                      "ftp put /opt/somnar/ip.html ip.html", "ftp disconnect"}));
    EXPECT_EQ(statusDuring, (Calls{"Disconnected...", "Internet Open...", "Connected to Server...",
                                   "Directory Ready...", "Sending File..."}));
    EXPECT_EQ(ui.ftpStatus.caption(), "Disconnected...");
    EXPECT_TRUE(platform.ftp.lastPassive);
    EXPECT_FALSE(ui.connectionWatch.enabled());
    EXPECT_EQ(platform.settings.all(),
              "VidOru FTP/Directory=/htdocs;VidOru FTP/Password=geheim;VidOru "
              "FTP/Server=ftp.example.org;VidOru FTP/User=web1;");
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

// An ip.html of an earlier run must not go out as if it were new.
TEST_F(PublicationTest, TheDocumentGoesToTheDataFolderOrIfNoneIsThereNothingIsUploaded) {
    platform.connectivity.online = true;
    platform.files.writableFolders.clear();
    ui.connectionWatch.tick();
    const std::string moved = "/home/anna/.local/share/somnar-scheduler/ip.html";
    EXPECT_EQ(platform.files.written.count(moved), 1u);
    EXPECT_EQ(platform.ftp.calls.at(3), "put " + moved + " ip.html");
    EXPECT_FALSE(platform.ftp.lastPassive);  // the box unticked

    platform.ftp.calls.clear();
    platform.files.data = "";
    ui.connectionWatch.setEnabled(true);
    ui.connectionWatch.tick();
    const std::string text =
        "Die Datei ip.html konnte nicht geschrieben werden. Die IP-Adresse "
        "wird deshalb nicht per FTP übertragen.";
    EXPECT_EQ(lastMessage(), text);
    EXPECT_EQ(ui.ftpStatus.caption(), "ip.html nicht geschrieben");
    EXPECT_TRUE(platform.ftp.calls.empty());
    EXPECT_FALSE(ui.connectionWatch.enabled());
    EXPECT_EQ(platform.notifier.shown.at(0).second, text);
    EXPECT_EQ(platform.journal.entries.at(0).second, text);
}

// Nobody may be at the machine: the upload goes on and the status label says it.
TEST_F(PublicationTest, ValuesThatCannotBeStoredShowInTheStatusAndTheUploadGoesOn) {
    platform.settings.failWrites = true;
    std::string statusAtOpen;
    platform.ftp.during = [&](const std::string& call) {
        if (call.rfind("open", 0) == 0) {
            statusAtOpen = ui.ftpStatus.caption();
        }
    };
    ui.uploadButton.setValue(true);
    EXPECT_EQ(statusAtOpen, "FTP-Werte nicht gespeichert");
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(platform.ftp.calls, kUpload);
    EXPECT_EQ(platform.journal.entries.at(0).second,
              "FTP-Werte nicht gespeichert: /home/anna/.config/somnar-scheduler/VidOru FTP.ini");
}

TEST_F(PublicationTest, EachStepFailsWithItsTitleAndCodeToldAfterTheNotification) {
    const struct {
        FtpResult testing::FakeFtpClient::*answer;
        const char* title;
        long code;
        std::size_t calls;
    } cases[] = {{&testing::FakeFtpClient::openAnswer, "Internet Conection Error", 2, 1},
                 {&testing::FakeFtpClient::connectAnswer, "Server Conection Error", 530, 2},
                 {&testing::FakeFtpClient::directoryAnswer, "Initial Directory Error", 550, 3},
                 {&testing::FakeFtpClient::putAnswer, "File Transfer Error", 26, 4}};
    for (const auto& c : cases) {
        for (auto* answer : {&platform.ftp.openAnswer, &platform.ftp.connectAnswer,
                             &platform.ftp.directoryAnswer, &platform.ftp.putAnswer}) {
            *answer = {true, 0};
        }
        platform.ftp.calls.clear();
        platform.ftp.*c.answer = {false, c.code};
        platform.dialogs.shown.clear();
        platform.notifier.shown.clear();
        ui.ftpStatus.setCaption("vorher");
        std::string statusWhileBoxOpen;
        std::size_t notifiedBeforeTheBox = 0;
        platform.dialogs.whileOpen = [&](const MessageBox&) {
            statusWhileBoxOpen = ui.ftpStatus.caption();
            notifiedBeforeTheBox = platform.notifier.shown.size();
            ui.connectionWatch.tick();  // no second publication while the box is open
        };
        platform.connectivity.online = true;
        ui.connectionWatch.setEnabled(true);
        ui.connectionWatch.tick();
        const std::string error = "Error: " + std::to_string(c.code);
        ASSERT_EQ(platform.dialogs.shown.size(), 1u) << c.title;
        EXPECT_EQ(platform.dialogs.shown[0],
                  (MessageBox{error, c.title, MessageButtons::Ok, MessageIcon::Question}));
        EXPECT_NE(statusWhileBoxOpen, "Disconnected...");
        EXPECT_EQ(notifiedBeforeTheBox, 1u);
        EXPECT_EQ(platform.notifier.shown.at(0).second,
                  "Die IP-Adresse wurde nicht per FTP übertragen: " + std::string(c.title) + ", " +
                      error);
        EXPECT_EQ(ui.ftpStatus.caption(), "Disconnected...");
        Calls expected(kUpload.begin(), kUpload.begin() + static_cast<long>(c.calls));
        if (c.calls > 2) {
            expected.push_back("disconnect");  // only once connected
        }
        EXPECT_EQ(platform.ftp.calls, expected) << c.title;
        EXPECT_FALSE(ui.connectionWatch.enabled());
    }
}

TEST_F(PublicationTest, PasswordButtonsShowAndHideTheirFieldAndGiveTheFocusAway) {
    for (auto [box, button] : {std::pair{&ui.dialupPassword, &ui.dialupPasswordToggle},
                               std::pair{&ui.ftpPassword, &ui.ftpPasswordToggle}}) {
        button->setValue(true);
        EXPECT_EQ(box->passwordChar() + button->caption(), "P");
        EXPECT_EQ(ui.window.focus(), &ui.focusSink);
        button->setValue(true);
        EXPECT_EQ(box->passwordChar() + button->caption(), "*N");
    }
    EXPECT_EQ(ui.ftpPassword.text(), "geheim");
}

}  // namespace
}  // namespace somnar
