// The connection watch, the address lookup, ip.html and the FTP upload.

#include <gtest/gtest.h>

#include "publish/ftp_login.h"
#include "publish/publisher.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::EventLog;
using Calls = std::vector<std::string>;

const std::string kNoAnswer =
    "Windows Sockets are not responding. Unable to successfully get Host Name.";
const Calls kUpload{"open VidOru FTP",
                    "connect ftp.example.org web1 geheim",
                    "cwd /htdocs",
                    "put /opt/somnar/ip.html ip.html.tmp",
                    "rename ip.html.tmp ip.html",
                    "disconnect"};

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
    EXPECT_EQ(platform.log.at(0), "write /opt/somnar/ip.html");
    EXPECT_EQ(platform.ftp.calls, kUpload);
    EXPECT_EQ(statusDuring, (Calls{"Disconnected...", "Internet Open...", "Connected to Server...",
                                   "Directory Ready...", "Directory Ready...", "Sending File..."}));
    EXPECT_EQ(ui.ftpStatus.caption(), "Disconnected...");
    EXPECT_TRUE(platform.ftp.lastLogin.passive);
    EXPECT_EQ(platform.ftp.lastLogin.encryption, FtpEncryption::WhenOffered);
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
    EXPECT_EQ(platform.ftp.calls.at(3), "put " + moved + " ip.html.tmp");
    EXPECT_FALSE(platform.ftp.lastLogin.passive);  // the box unticked

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

// The box shows the code and beneath it what the server said; a failed transfer takes
// its temporary file away again.
TEST_F(PublicationTest, EachStepFailsWithItsTitleCodeAndReplyToldAfterTheNotification) {
    using Fake = testing::FakeFtpClient;
    const struct {
        FtpResult Fake::*answer;
        const char* title;
        FtpResult result;
        Calls calls;
    } cases[] = {
        {&Fake::openAnswer, "Internet Conection Error", {false, 2, ""}, {"open VidOru FTP"}},
        {&Fake::connectAnswer,
         "Server Conection Error",
         {false, 530, "530 Login incorrect."},
         {kUpload[0], kUpload[1]}},
        {&Fake::directoryAnswer,
         "Initial Directory Error",
         {false, 550, "550 Failed to change directory."},
         {kUpload[0], kUpload[1], kUpload[2], "disconnect"}},
        {&Fake::putAnswer,
         "File Transfer Error",
         {false, 452, "452 Transfer aborted. No space left on device"},
         {kUpload[0], kUpload[1], kUpload[2], kUpload[3], "remove ip.html.tmp", "disconnect"}}};
    for (const auto& c : cases) {
        platform.ftp.calls.clear();
        platform.ftp.*c.answer = c.result;
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
        const std::string error = "Error: " + std::to_string(c.result.code);
        const std::string reply = c.result.reply;
        ASSERT_EQ(platform.dialogs.shown.size(), 1u) << c.title;
        EXPECT_EQ(platform.dialogs.shown[0],
                  (MessageBox{error + (reply.empty() ? "" : "\n" + reply), c.title,
                              MessageButtons::Ok, MessageIcon::Question}));
        EXPECT_NE(statusWhileBoxOpen, "Disconnected...");
        EXPECT_EQ(notifiedBeforeTheBox, 1u);
        EXPECT_EQ(platform.notifier.shown.at(0).second,
                  "Die IP-Adresse wurde nicht per FTP übertragen: " + std::string(c.title) + ", " +
                      error + (reply.empty() ? "" : " (" + reply + ")"));
        EXPECT_EQ(ui.ftpStatus.caption(), "Disconnected...");
        EXPECT_EQ(platform.ftp.calls, c.calls) << c.title;
        EXPECT_FALSE(ui.connectionWatch.enabled());
        platform.ftp.*c.answer = {true, 0};
    }
}

// Where the server refuses the rename, the file is stored under its own name after all and
// the journal says so; a broken connection is not retried.
TEST_F(PublicationTest, ARefusedRenameFallsBackToStoringUnderTheNameAndIsLogged) {
    const std::string put = "put /opt/somnar/ip.html ";
    const struct {
        FtpResult rename;
        std::deque<FtpResult> puts;
        Calls after;  // after the rename
        std::string box;
    } cases[] = {{{false, 550, "550 Rename not allowed"},
                  {{true, 0}},
                  {put + "ip.html", "remove ip.html.tmp", "disconnect"},
                  ""},
                 {{false, 553, "553 Rename refused"},
                  {{true, 0}, {false, 552, "552 Quota exceeded"}},
                  {put + "ip.html", "remove ip.html.tmp", "disconnect"},
                  "Error: 552\n552 Quota exceeded"},
                 {{false, 42, "Connection died"},
                  {{true, 0}},
                  {"remove ip.html.tmp", "disconnect"},
                  "Error: 42\nConnection died"}};
    for (const auto& c : cases) {
        platform.ftp.calls.clear();
        platform.journal.entries.clear();
        platform.dialogs.shown.clear();
        platform.ftp.renameAnswer = c.rename;
        platform.ftp.putAnswers = c.puts;
        ui.uploadButton.setValue(true);
        Calls expected(kUpload.begin(), kUpload.begin() + 5);
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(platform.ftp.calls, expected);
        EXPECT_EQ(platform.dialogs.shown.empty() ? "" : platform.dialogs.shown[0].text, c.box);
        const std::string note = "Der Server benennt ip.html.tmp nicht in ip.html um (" +
                                 c.rename.reply + "); ip.html wird direkt überschrieben.";
        const bool fellBack = c.rename.code >= 400;
        EXPECT_EQ(!platform.journal.entries.empty() && platform.journal.entries[0].second == note,
                  fellBack);
    }
}

TEST(FtpLoginTest, FtpsOrTheStoredSettingRequireTls) {
    const struct {
        std::string server, setting, host;
        FtpEncryption encryption;
    } cases[] = {
        {"ftp.example.org", "", "ftp.example.org", FtpEncryption::WhenOffered},
        {"FTPS://ftp.example.org:2121/", "", "ftp.example.org:2121", FtpEncryption::Required},
        {"ftp://[::1]", "0", "[::1]", FtpEncryption::WhenOffered},
        {"ftp.example.org", "Ja", "ftp.example.org", FtpEncryption::Required},
        {"ftp.example.org", "1", "ftp.example.org", FtpEncryption::Required}};
    for (const auto& c : cases) {
        const FtpLogin login = ftpLogin(c.server, "u", "p", false, c.setting);
        EXPECT_EQ(login.server, c.host) << c.server;
        EXPECT_EQ(login.encryption, c.encryption) << c.server << " " << c.setting;
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
