#include "platform/qt/qsettings_store.h"

#include <QLockFile>
#include <QString>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using test::writeFile;

class SettingsStoreTest : public ::testing::Test {
  protected:
    fs::path file(const std::string& application) const { return folder_ / (application + ".ini"); }

    test::TempDir home_;
    fs::path folder_ = home_.path() / "config" / "somnar-scheduler";
    QSettingsStore store_{home_.path() / "config"};
};

// One INI file per application, the section as its group, private from the first write
// whatever the umask: the folders 0700, the file 0600.
TEST_F(SettingsStoreTest, EachApplicationHasItsOwnPrivateIniFile) {
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
    EXPECT_FALSE(fs::exists(folder_)) << "reading creates nothing";
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Userername", "anna"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Server", "alt"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "User", "bob"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Server", "Grüße"));
    ::umask(previous);
    EXPECT_EQ(test::readLines(file("Verbindung")), (Lines{"[Values]", "Userername=anna"}));
    EXPECT_EQ(test::readLines(file("Somnar FTP")), (Lines{"[Values]", "Server=Grüße", "User=bob"}));
    EXPECT_EQ(store_.read("Somnar FTP", "Values", "Userername"), "");
    EXPECT_EQ(test::modeOf(home_.path() / "config"), 0700u);
    EXPECT_EQ(test::modeOf(folder_), 0700u);
    EXPECT_EQ(test::modeOf(file("Somnar FTP")), 0600u);
}

// A link's file is rewritten in place and made private; a link that leads nowhere, another
// writer's lock or a name that is no file name make the write fail.
TEST_F(SettingsStoreTest, ExistingFilesAreRewrittenInPlaceOrNotAtAll) {
    fs::create_directories(folder_);
    writeFile(home_.path() / "dotfile", "[Values]\nName=alt\n");
    fs::create_symlink(home_.path() / "dotfile", file("Verbindung"));
    fs::create_symlink(home_.path() / "missing" / "Fort.ini", file("Fort"));
    EXPECT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
    EXPECT_EQ(test::readLines(home_.path() / "dotfile"),
              (Lines{"[Values]", "Name=alt", "Password=geheim"}));
    EXPECT_EQ(test::modeOf(home_.path() / "dotfile"), 0600u);
    EXPECT_FALSE(store_.write("Fort", "Values", "Password", "geheim"));
    EXPECT_FALSE(fs::exists(home_.path() / "missing"));
    EXPECT_FALSE(store_.write("../Verbindung", "Values", "Name", "x"));
    QLockFile otherWriter(QString::fromStdString(file("Verbindung").string() + ".lock"));
    ASSERT_TRUE(otherWriter.tryLock(0));
    EXPECT_FALSE(store_.write("Verbindung", "Values", "Password", "neu"));
    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "geheim");
}

}  // namespace
}  // namespace somnar
