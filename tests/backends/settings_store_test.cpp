#include "platform/qt/qsettings_store.h"

#include <QLockFile>
#include <QString>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using test::contentOf;
using test::writeFile;

mode_t modeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    fs::path file(const std::string& application) const { return folder_ / (application + ".ini"); }

    test::TempDir home_;
    fs::path folder_ = home_.path() / "config" / "somnar-scheduler";
    QSettingsStore store_{home_.path() / "config"};
};

// One INI file per application, the section as its group, private from the first write:
// the folders 0700, the file 0600 also after a rewrite, whatever the umask.
TEST_F(SettingsStoreTest, EachApplicationHasItsOwnPrivateIniFile) {
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
    EXPECT_FALSE(fs::exists(folder_)) << "reading creates nothing";
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Userername", "anna"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Server", "alt"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "User", "bob"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Server", "Grüße"));
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Password", ""));
    ::umask(previous);
    EXPECT_EQ(store_.fileFor("Somnar FTP"), file("Somnar FTP"));
    EXPECT_EQ(test::readLines(file("Verbindung")), (Lines{"[Values]", "Userername=anna"}));
    EXPECT_EQ(test::readLines(file("Somnar FTP")),
              (Lines{"[Values]", "Password=", "Server=Grüße", "User=bob"}));
    EXPECT_EQ(store_.read("Somnar FTP", "Values", "Server"), "Grüße");
    EXPECT_EQ(store_.read("Somnar FTP", "Values", "Userername"), "");
    EXPECT_EQ(store_.read("Verbindung", "Other", "Userername"), "");
    for (const fs::path& folder : {home_.path() / "config", folder_}) {
        EXPECT_EQ(modeOf(folder), 0700u);
    }
    EXPECT_EQ(modeOf(file("Somnar FTP")), 0600u);
    const test::ScopedEnv configHome("XDG_CONFIG_HOME", (home_.path() / "config").string());
    EXPECT_EQ(QSettingsStore().read("Verbindung", "Values", "Userername"), "anna");
}

TEST_F(SettingsStoreTest, ValuesComeBackExactlyFromTheFile) {
    for (const char* value :
         {"a=b", "semi;colon", "#hash", "say \"hi\"", "a,b,c", R"(\\server\share)", "  padded  ",
          "@", "@ByteArray(x)", "@Invalid()", "[Values]", "tab\there", "line\nbreak", "%41%42",
          "true", "€ und ß", " "}) {
        ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", value));
        // QSettings caches parsed files: a copy under another name is read from disk.
        fs::copy_file(file("Verbindung"), file("Kopie"), fs::copy_options::overwrite_existing);
        EXPECT_EQ(store_.read("Kopie", "Values", "Password"), value);
    }
    // Written by hand with commas: read as written, and kept so by a store.
    writeFile(file("Hand"), "[Values]\nPassword=ab,cd\nUserername=a, b\n");
    ASSERT_TRUE(
        store_.write("Hand", "Values", "Password", store_.read("Hand", "Values", "Password")));
    EXPECT_EQ(store_.read("Hand", "Values", "Password"), "ab,cd");
    EXPECT_EQ(store_.read("Hand", "Values", "Userername"), "a,b");
}

// A wider file or a link's file is rewritten in place and made private; a link that leads
// nowhere, another writer's lock or a name that is no file name make the write fail.
TEST_F(SettingsStoreTest, ExistingFilesAreRewrittenInPlaceOrNotAtAll) {
    fs::create_directories(folder_);
    writeFile(home_.path() / "dotfile", "[Values]\nName=alt\n");
    fs::create_symlink(home_.path() / "dotfile", file("Verbindung"));
    fs::create_symlink(home_.path() / "missing" / "Fort.ini", file("Fort"));
    EXPECT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
    EXPECT_EQ(test::readLines(home_.path() / "dotfile"),
              (Lines{"[Values]", "Name=alt", "Password=geheim"}));
    EXPECT_EQ(modeOf(home_.path() / "dotfile"), 0600u);
    EXPECT_FALSE(store_.write("Fort", "Values", "Password", "geheim"));
    EXPECT_FALSE(fs::exists(home_.path() / "missing"));
    EXPECT_FALSE(store_.write("../Verbindung", "Values", "Name", "x"));
    QLockFile otherWriter(QString::fromStdString(file("Verbindung").string() + ".lock"));
    ASSERT_TRUE(otherWriter.tryLock(0));
    EXPECT_FALSE(store_.write("Verbindung", "Values", "Password", "neu"));
    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "geheim");
}

// A file QSettings cannot parse (or read, or a folder in its place) reads empty and is left
// alone; the next write moves it aside, never over an earlier backup, and starts afresh.
TEST_F(SettingsStoreTest, UnreadableFileReadsEmptyAndIsKeptAsABackup) {
    const std::string broken[] = {"[Values\nName=Alt\n",
                                  "[Values]\nName=Alt\nthis line has no equals sign\n"};
    fs::create_directories(folder_);
    writeFile(folder_ / "Verbindung.ini.unreadable", "first");
    for (int round = 0; round < 2; ++round) {
        writeFile(file("Verbindung"), broken[round]);
        // Twice: QSettings reports a parse error only the first time it reads a file.
        EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
        EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
        EXPECT_EQ(contentOf(file("Verbindung")), broken[round]);
        ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
        EXPECT_EQ(contentOf(folder_ / ("Verbindung.ini.unreadable." + std::to_string(round + 2))),
                  broken[round]);
        EXPECT_EQ(test::readLines(file("Verbindung")), (Lines{"[Values]", "Password=geheim"}));
    }
    EXPECT_EQ(contentOf(folder_ / "Verbindung.ini.unreadable"), "first");
    fs::create_directories(file("Somnar FTP") / "inner");
    EXPECT_EQ(store_.read("Somnar FTP", "Values", "Server"), "");
    ASSERT_TRUE(store_.write("Somnar FTP", "Values", "Server", "ftp.example.org"));
    EXPECT_TRUE(fs::is_directory(folder_ / "Somnar FTP.ini.unreadable" / "inner"));
}

}  // namespace
}  // namespace somnar
