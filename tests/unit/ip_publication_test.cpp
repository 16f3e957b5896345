// The connection watch, the address lookup, ip.html and the FTP upload.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::EventLog;
using testing::FormTest;

struct PublicationTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 7, 15, 42);
        platform.hostAddress.resolver["somnar-pc"] = {{127, 0, 1, 1}, {192, 168, 0, 5}};
        form.ftpServer.setText("ftp.example.org");
        form.ftpUser.setText("web1");
        form.ftpPassword.setText("geheim");
        form.ftpFolder.setText("/htdocs");
    }
    std::string document() const { return platform.files.written.at("/opt/somnar/ip.html"); }
};

struct LookupCase {
    const char* name;
    std::vector<Ipv4Address> resolved;
    std::vector<Ipv4Address> interfaces;
    int hostNameError;  // 0: the host name is known
    std::string address;
    std::string problem;
};

class AddressLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(AddressLookupTest, SkipsLoopbackAndTellsWhyThereIsNone) {
    testing::FakePlatform platform;
    const LookupCase& c = GetParam();
    if (c.hostNameError != 0) {
        platform.hostAddress.name = {std::nullopt, c.hostNameError};
    }
    platform.hostAddress.resolver["somnar-pc"] = c.resolved;
    platform.hostAddress.interfaces = c.interfaces;
    const AddressLookup found = Publisher(platform.services).localIpAddress();
    EXPECT_EQ(found.address, c.address);
    EXPECT_EQ(found.problem, c.problem);
}

const std::string kNoAnswer =
    "Windows Sockets are not responding. Unable to successfully get Host Name.";

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressLookupTest,
    ::testing::Values(
        LookupCase{"FirstOtherThanLoopback",
                   {{127, 0, 1, 1}, {192, 168, 0, 5}, {10, 0, 0, 1}},
                   {},
                   0,
                   "192.168.0.5",
                   ""},
        LookupCase{"InterfaceWhenTheNameIsLoopback",
                   {{127, 0, 1, 1}},
                   {{127, 0, 0, 1}, {172, 17, 0, 2}, {10, 1, 2, 3}},
                   0,
                   "172.17.0.2",
                   ""},
        LookupCase{
            "InterfaceWhenTheNameDoesNotResolve", {}, {{172, 17, 0, 2}}, 0, "172.17.0.2", ""},
        LookupCase{"NothingButLoopback", {{127, 0, 1, 1}}, {{127, 0, 0, 1}}, 0, "", kNoAnswer},
        LookupCase{"HostNameErrorWithItsSignPlace",
                   {},
                   {},
                   5,
                   "",
                   "Windows Sockets error  5 has occurred. Unable to successfully get Host Name."},
        LookupCase{"NegativeHostNameError",
                   {},
                   {},
                   -3,
                   "",
                   "Windows Sockets error -3 has occurred. Unable to successfully get Host Name."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PublicationTest, AnAddressThatCannotBeFoundIsToldInABoxAndPublishedEmpty) {
    platform.hostAddress.resolver["somnar-pc"] = {{127, 0, 1, 1}};
    platform.connectivity.online = true;
    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();
    ASSERT_FALSE(platform.dialogs.shown.empty());
    EXPECT_EQ(platform.dialogs.shown[0],
              (MessageBox{kNoAnswer, "Somnar-Scheduler", MessageButtons::Ok, MessageIcon::None}));
    EXPECT_EQ(form.ipAddressLine.caption(), "");
}

TEST_F(PublicationTest, DocumentIsFourCrLfLinesExactly) {
    form.ipAddressLine.setCaption("192.168.0.5");
    form.writeIpDocument();
    EXPECT_EQ(document(),
              "<HTML>\r\n<CENTER> Meine IP-Adresse lautet: 192.168.0.5\r\n<CENTER> Rechner wurde "
              "gestartet: 06.12.2026 07:15:42\r\n</CENTER></HTML>\r\n");
}

TEST_F(PublicationTest, EmptyAddressAndMidnightAndASecondWriteReplacingTheFirst) {
    form.ipAddressLine.setCaption("");
    form.writeIpDocument();
    platform.clock.set(2026, 12, 7, 0, 0, 0);
    form.writeIpDocument();
    EXPECT_EQ(document(),
              "<HTML>\r\n<CENTER> Meine IP-Adresse lautet: \r\n<CENTER> Rechner wurde gestartet: "
              "07.12.2026\r\n</CENTER></HTML>\r\n");
}

TEST_F(PublicationTest, AnUnwritableProgramFolderSendsTheDocumentToTheDataFolder) {
    platform.files.writableFolders.clear();
    form.writeIpDocument();
    const std::string moved = "/home/anna/.local/share/somnar-scheduler/ip.html";
    EXPECT_EQ(platform.files.written.count(moved), 1u);
    form.uploadButton.setValue(true);
    EXPECT_NE(std::find(platform.ftp.calls.begin(), platform.ftp.calls.end(),
                        "put " + moved + " ip.html"),
              platform.ftp.calls.end());
}

// An ip.html of an earlier run must not go out as if it were new.
TEST_F(PublicationTest, ADocumentThatCannotBeWrittenIsReportedAndNothingIsUploaded) {
    platform.files.writableFolders.clear();
    platform.files.data = "";
    platform.connectivity.online = true;
    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();
    const std::string text =
        "Die Datei ip.html konnte nicht geschrieben werden. Die IP-Adresse wird deshalb nicht "
        "per FTP übertragen.";
    EXPECT_EQ(lastMessage(), text);
    EXPECT_EQ(form.ftpStatus.caption(), "ip.html nicht geschrieben");
    EXPECT_TRUE(platform.ftp.calls.empty());
    EXPECT_FALSE(form.connectionWatch.enabled());
    EXPECT_EQ(platform.notifier.shown.size(), 1u);
    EXPECT_EQ(platform.journal.entries.at(0).second, text);
}

TEST_F(PublicationTest, UploadStoresTheValuesThenRunsTheStepsWithTheirStatus) {
    std::vector<std::string> statusDuring;
    platform.ftp.during = [&](const std::string&) {
        statusDuring.push_back(form.ftpStatus.caption());
    };
    form.uploadButton.setValue(true);
    EXPECT_EQ(
        platform.ftp.calls,
        (std::vector<std::string>{"open VidOru FTP", "connect ftp.example.org web1 geheim",
                                  "cwd /htdocs", "put /opt/somnar/ip.html ip.html", "disconnect"}));
    EXPECT_EQ(statusDuring, (std::vector<std::string>{"Disconnected...", "Internet Open...",
                                                      "Connected to Server...",
                                                      "Directory Ready...", "Sending File..."}));
    EXPECT_EQ(form.ftpStatus.caption(), "Disconnected...");
    EXPECT_EQ(platform.settings.stored("VidOru FTP", "Server"), "ftp.example.org");
    EXPECT_EQ(platform.settings.stored("VidOru FTP", "Directory"), "/htdocs");
    using A = testing::FakeSettingsStore::Address;
    EXPECT_EQ(platform.settings.writes, (std::vector<A>{{"VidOru FTP", "Values", "Server"},
                                                        {"VidOru FTP", "Values", "User"},
                                                        {"VidOru FTP", "Values", "Password"},
                                                        {"VidOru FTP", "Values", "Directory"}}));
}

// Nobody may be at the machine: the upload goes on and the status label says it.
TEST_F(PublicationTest, ValuesThatCannotBeStoredShowInTheStatusAndTheUploadGoesOn) {
    platform.settings.failWrites = true;
    std::string statusAtOpen;
    platform.ftp.during = [&](const std::string& call) {
        if (call.rfind("open", 0) == 0) {
            statusAtOpen = form.ftpStatus.caption();
        }
    };
    form.uploadButton.setValue(true);
    EXPECT_EQ(statusAtOpen, "FTP-Werte nicht gespeichert");
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(platform.ftp.calls.size(), 5u);
    EXPECT_EQ(platform.journal.entries.at(0).second,
              "FTP-Werte nicht gespeichert: /home/anna/.config/somnar-scheduler/VidOru FTP.ini");
}

struct UploadFailure {
    const char* step;
    const char* title;
    long code;
    std::vector<std::string> calls;
};

class UploadFailureTest : public PublicationTest,
                          public ::testing::WithParamInterface<UploadFailure> {};

TEST_P(UploadFailureTest, EachStepFailsWithItsTitleAndCodeAndEndsDisconnected) {
    const UploadFailure& failure = GetParam();
    const FtpResult refused{false, failure.code};
    const std::string step = failure.step;
    (step == "open"      ? platform.ftp.openAnswer
     : step == "connect" ? platform.ftp.connectAnswer
     : step == "cwd"     ? platform.ftp.directoryAnswer
                         : platform.ftp.putAnswer) = refused;
    form.ftpStatus.setCaption("vorher");
    std::string statusWhileBoxOpen;
    std::vector<std::pair<std::string, std::string>> notifiedBeforeTheBox;
    platform.dialogs.whileOpen = [&](const MessageBox&) {
        statusWhileBoxOpen = form.ftpStatus.caption();
        notifiedBeforeTheBox = platform.notifier.shown;
    };
    form.uploadButton.setValue(true);
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0],
              (MessageBox{"Error: " + std::to_string(failure.code), failure.title,
                          MessageButtons::Ok, MessageIcon::Question}));
    EXPECT_NE(statusWhileBoxOpen, "Disconnected...");
    ASSERT_EQ(notifiedBeforeTheBox.size(), 1u);
    EXPECT_EQ(notifiedBeforeTheBox[0].second,
              "Die IP-Adresse wurde nicht per FTP übertragen: " + std::string(failure.title) +
                  ", Error: " + std::to_string(failure.code));
    EXPECT_EQ(form.ftpStatus.caption(), "Disconnected...");
    EXPECT_EQ(platform.ftp.calls, failure.calls);
    EXPECT_EQ(platform.settings.stored("VidOru FTP", "Password"), "geheim");
}

INSTANTIATE_TEST_SUITE_P(
    Steps, UploadFailureTest,
    ::testing::Values(UploadFailure{"open", "Internet Conection Error", 2, {"open VidOru FTP"}},
                      UploadFailure{"connect",
                                    "Server Conection Error",
                                    530,
                                    {"open VidOru FTP", "connect ftp.example.org web1 geheim"}},
                      UploadFailure{"cwd",
                                    "Initial Directory Error",
                                    550,
                                    {"open VidOru FTP", "connect ftp.example.org web1 geheim",
                                     "cwd /htdocs", "disconnect"}},
                      UploadFailure{
                          "put",
                          "File Transfer Error",
                          26,
                          {"open VidOru FTP", "connect ftp.example.org web1 geheim", "cwd /htdocs",
                           "put /opt/somnar/ip.html ip.html", "disconnect"}}));

TEST_F(PublicationTest, PassiveModeFollowsTheBoxAndAGreyedBoxCountsAsTicked) {
    for (const auto& [value, passive] : {std::pair{CheckBox::Unchecked, false},
                                         {CheckBox::Checked, true},
                                         {CheckBox::Grayed, true}}) {
        form.passiveBox.setValue(value);
        form.onUpload();
        EXPECT_EQ(platform.ftp.lastPassive, passive) << value;
    }
}

TEST_F(PublicationTest, WatchWithoutConnectionKeepsWatchingAndShowsNothing) {
    form.connectionWatch.setEnabled(true);
    for (int tick = 0; tick < 5; ++tick) {
        form.connectionWatch.tick();
    }
    EXPECT_EQ(platform.connectivity.asked, 5);
    EXPECT_TRUE(form.connectionWatch.enabled());
    EXPECT_EQ(form.ipAddressLine.caption(), "0.0.0.0");
    EXPECT_TRUE(platform.log.empty());
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

TEST_F(PublicationTest, OnceConnectedTheWatchPublishesOnceInOrderAndStops) {
    platform.connectivity.online = true;
    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();
    EXPECT_EQ(form.ipAddressLine.caption(), "192.168.0.5");
    EXPECT_NE(document().find("lautet: 192.168.0.5\r\n"), std::string::npos);
    EXPECT_EQ(platform.log, (EventLog{"write /opt/somnar/ip.html", "ftp open VidOru FTP",
                                      "ftp connect ftp.example.org web1 geheim", "ftp cwd /htdocs",
                                      "ftp put /opt/somnar/ip.html ip.html", "ftp disconnect"}));
    EXPECT_FALSE(form.connectionWatch.enabled());
    form.connectionWatch.tick();
    EXPECT_EQ(platform.ftp.calls.size(), 5u);
}

TEST_F(PublicationTest, AFailedLookupStillWritesAndUploadsAnEmptyAddress) {
    platform.connectivity.online = true;
    platform.hostAddress.name = {std::nullopt, 11};
    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();
    EXPECT_EQ(form.ipAddressLine.caption(), "");
    EXPECT_NE(document().find("lautet: \r\n"), std::string::npos);
    EXPECT_EQ(platform.ftp.calls.size(), 5u);
    EXPECT_FALSE(form.connectionWatch.enabled());
}

TEST_F(PublicationTest, NoSecondPublicationWhileABoxOfTheFirstIsOpen) {
    platform.connectivity.online = true;
    platform.ftp.connectAnswer = {false, 530};
    platform.dialogs.whileOpen = [&](const MessageBox&) { form.connectionWatch.tick(); };
    form.connectionWatch.setEnabled(true);
    form.connectionWatch.tick();
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.ftp.calls,
              (std::vector<std::string>{"open VidOru FTP", "connect ftp.example.org web1 geheim"}));
    EXPECT_FALSE(form.connectionWatch.enabled());
}

TEST_F(PublicationTest, PasswordButtonsShowAndHideTheirFieldAndGiveTheFocusAway) {
    for (auto [box, button] : {std::pair{&form.dialupPassword, &form.dialupPasswordToggle},
                               std::pair{&form.ftpPassword, &form.ftpPasswordToggle}}) {
        button->setValue(true);
        EXPECT_EQ(box->passwordChar(), "");
        EXPECT_EQ(button->caption(), "P");
        EXPECT_EQ(form.window.focus(), &form.focusSink);
        button->setValue(true);
        EXPECT_EQ(box->passwordChar(), "*");
        EXPECT_EQ(button->caption(), "N");
    }
    EXPECT_EQ(form.ftpPassword.text(), "geheim");
}

}  // namespace
}  // namespace somnar
