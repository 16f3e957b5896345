#include "platform/qt/qsettings_store.h"

#include <QLockFile>
#include <QString>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

mode_t modeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

// Sets the process umask for one test, so modes cannot come from a strict default.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    mode_t previous_;
};

// Records what happens to the names in a folder (inotify), in order.
class FolderWatch {
  public:
    explicit FolderWatch(const fs::path& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) {
            ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ATTRIB);
        }
    }
    ~FolderWatch() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // The events so far for one name: 'C' created, 'M' moved in, 'A' mode or owner changed.
    std::string eventsFor(const std::string& name) {
        alignas(inotify_event) char buffer[8192];
        for (ssize_t length; (length = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name == event->name) {
                    events_ += (event->mask & IN_CREATE)     ? 'C'
                               : (event->mask & IN_MOVED_TO) ? 'M'
                                                             : 'A';
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return events_;
    }

  private:
    int fd_;
    std::string events_;
};

// The file mounted onto itself for the lifetime of the object (root only): read-only, or
// writable but a mount point, which no rename may replace.
class ScopedBindMount {
  public:
    ScopedBindMount(fs::path file, bool readOnly) : file_(std::move(file)) {
        mounted_ = ::mount(file_.c_str(), file_.c_str(), nullptr, MS_BIND, nullptr) == 0;
        if (mounted_ && readOnly &&
            ::mount(nullptr, file_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                0) {
            ::umount2(file_.c_str(), 0);
            mounted_ = false;
        }
    }
    ~ScopedBindMount() {
        if (mounted_) {
            ::umount2(file_.c_str(), 0);
        }
    }
    ScopedBindMount(const ScopedBindMount&) = delete;
    ScopedBindMount& operator=(const ScopedBindMount&) = delete;

    [[nodiscard]] bool mounted() const { return mounted_; }

  private:
    fs::path file_;
    bool mounted_ = false;
};

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(home_.path().empty()); }

    [[nodiscard]] fs::path folder() const { return home_.path() / "somnar-scheduler"; }
    [[nodiscard]] fs::path file(const std::string& application) const {
        return folder() / (application + ".ini");
    }

    test::TempDir home_;
    QSettingsStore store_{home_.path()};
};

TEST_F(SettingsStoreTest, ValueNeverStoredReadsEmptyAndCreatesNothing) {
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Directory"), "");
    EXPECT_FALSE(fs::exists(folder()));
}

TEST_F(SettingsStoreTest, EachApplicationHasItsOwnIniFileWithSectionAsGroup) {
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Userername", "anna"));
    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "Server", "ftp.example.org"));

    EXPECT_EQ(store_.fileFor("VidOru FTP"), file("VidOru FTP"));
    EXPECT_EQ(test::readLines(file("Verbindung")),
              (std::vector<std::string>{"[Values]", "Userername=anna"}));
    EXPECT_EQ(test::readLines(file("VidOru FTP")),
              (std::vector<std::string>{"[Values]", "Server=ftp.example.org"}));
    EXPECT_EQ(store_.read("Verbindung", "Values", "Userername"), "anna");
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "ftp.example.org");
    // Same key, other application or section: a different value.
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Userername"), "");
    EXPECT_EQ(store_.read("Verbindung", "Other", "Userername"), "");
}

TEST_F(SettingsStoreTest, LaterWriteReplacesValueAndKeepsTheOthers) {
    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "Server", "alt"));
    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "User", "bob"));
    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "Server", "neu"));

    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "neu");
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "User"), "bob");
}

TEST_F(SettingsStoreTest, EmptyValueIsStoredNotRemoved) {
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", ""));

    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "");
    EXPECT_THAT(test::readLines(file("Verbindung")), Contains("Password="));
}

TEST_F(SettingsStoreTest, ValuesWithIniSpecialCharactersComeBackExactly) {
    const std::vector<std::string> values = {
        "a=b",
        "semi;colon",
        "#hash",
        "say \"hi\"",
        "a,b,c",
        R"(back\slash)",
        R"(\\server\share)",
        "Grüße",
        "  padded  ",
        "@",
        "@ByteArray(x)",
        "@Invalid()",
        "[Values]",
        "tab\there",
        "line\nbreak",
        "%41%42",
        "1.5",
        "true",
        "€ und ß",
        " ",
    };
    for (const std::string& value : values) {
        SCOPED_TRACE("value: [" + value + "]");
        ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", value));
        EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), value);

        // QSettings caches parsed files per path: a copy under another name is read
        // from disk, which shows the file itself holds the value.
        fs::copy_file(file("Verbindung"), file("Kopie"), fs::copy_options::overwrite_existing);
        EXPECT_EQ(store_.read("Kopie", "Values", "Password"), value);
    }
}

TEST_F(SettingsStoreTest, ValueWrittenByHandWithCommasReadsAsWrittenAndIsKeptByAStore) {
    fs::create_directories(folder());
    writeBytes(file("Verbindung"), "[Values]\nPassword=ab,cd\nUserername=a, b\n");
    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "ab,cd");
    EXPECT_EQ(store_.read("Verbindung", "Values", "Userername"), "a,b");

    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password",
                             store_.read("Verbindung", "Values", "Password")));
    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "ab,cd");
    EXPECT_EQ(store_.read("Verbindung", "Values", "Userername"), "a,b");
}

TEST_F(SettingsStoreTest, UmlautsAreStoredAsUtf8) {
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Name", "Grüße"));
    EXPECT_THAT(test::readLines(file("Verbindung")), Contains("Name=Grüße"));
}

TEST_F(SettingsStoreTest, FileIsOwnerOnlyFromFirstWriteOnAndFolder0700) {
    const ScopedUmask openUmask(0);
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
    EXPECT_EQ(modeOf(folder()), 0700u);
    EXPECT_EQ(modeOf(file("Verbindung")), 0600u);

    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "anders"));
    EXPECT_EQ(modeOf(file("Verbindung")), 0600u);
}

// A write puts a new file in place by rename. Were the mode put right only after that, the values
// would lie in a wider file for a moment: so once the new file is in place, nothing may have to
// change its mode.
TEST_F(SettingsStoreTest, RewrittenFileArrivesOwnerOnly) {
    const ScopedUmask openUmask(0);
    fs::create_directories(folder());
    FolderWatch watch(folder());

    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));
    const std::string firstWrite = watch.eventsFor("Verbindung.ini");
    ASSERT_EQ(::chmod(file("Verbindung").c_str(), 0644), 0);
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "anders"));
    const std::string all = watch.eventsFor("Verbindung.ini");

    ASSERT_NE(firstWrite.find('M'), std::string::npos) << "no file was renamed into place";
    EXPECT_EQ(firstWrite.find('A', firstWrite.find('M')), std::string::npos) << firstWrite;
    const std::string rewrite = all.substr(firstWrite.size());
    ASSERT_NE(rewrite.find('M'), std::string::npos) << rewrite;
    EXPECT_EQ(rewrite.find('A', rewrite.rfind('M')), std::string::npos) << all;
    EXPECT_EQ(modeOf(file("Verbindung")), 0600u);
}

TEST_F(SettingsStoreTest, MissingConfigurationFolderIsCreatedPrivate) {
    const ScopedUmask openUmask(0);
    const fs::path home = home_.path() / "nested" / "config";
    QSettingsStore store(home);
    ASSERT_TRUE(store.write("VidOru FTP", "Values", "User", "bob"));

    EXPECT_EQ(modeOf(home_.path() / "nested"), 0700u);
    EXPECT_EQ(modeOf(home), 0700u);
    EXPECT_EQ(modeOf(home / "somnar-scheduler"), 0700u);
    EXPECT_EQ(store.read("VidOru FTP", "Values", "User"), "bob");
}

TEST_F(SettingsStoreTest, ExistingWiderFileIsTightenedOnNextWriteAndKeepsItsValues) {
    fs::create_directories(folder());
    writeBytes(file("VidOru FTP"), "[Values]\nServer=ftp.example.org\n");
    ASSERT_EQ(::chmod(file("VidOru FTP").c_str(), 0644), 0);
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "ftp.example.org");
    EXPECT_EQ(modeOf(file("VidOru FTP")), 0644u) << "reading changes nothing";

    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "Password", "geheim"));

    EXPECT_EQ(modeOf(file("VidOru FTP")), 0600u);
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "ftp.example.org");
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Password"), "geheim");
}

TEST_F(SettingsStoreTest, DefaultLocationIsUnderXdgConfigHome) {
    const test::ScopedEnv configHome("XDG_CONFIG_HOME", home_.path().string());
    QSettingsStore store;
    EXPECT_EQ(store.fileFor("VidOru FTP"), file("VidOru FTP"));
    ASSERT_TRUE(store.write("VidOru FTP", "Values", "Directory", "/htdocs"));
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Directory"), "/htdocs");
}

TEST_F(SettingsStoreTest, ApplicationNameThatIsNoFileNameIsRefused) {
    EXPECT_FALSE(store_.write("../Verbindung", "Values", "Name", "x"));
    EXPECT_FALSE(store_.write("", "Values", "Name", "x"));
    EXPECT_EQ(store_.read("../Verbindung", "Values", "Name"), "");
    EXPECT_FALSE(fs::exists(home_.path() / "Verbindung.ini"));
}

TEST_F(SettingsStoreTest, WriteThatCannotCreateTheFolderReturnsFalse) {
    writeBytes(folder(), "a file where the folder belongs");
    EXPECT_FALSE(store_.write("Verbindung", "Values", "Name", "x"));
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "");
    EXPECT_EQ(readBytes(folder()), "a file where the folder belongs");
}

TEST_F(SettingsStoreTest, WriteGivesUpWhenAnotherWriterHoldsTheLock) {
    ASSERT_TRUE(store_.write("Verbindung", "Values", "Name", "alt"));
    QLockFile otherWriter(QString::fromStdString(file("Verbindung").string() + ".lock"));
    ASSERT_TRUE(otherWriter.tryLock(0));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(store_.write("Verbindung", "Values", "Name", "neu"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    otherWriter.unlock();
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "alt");
    EXPECT_TRUE(store_.write("Verbindung", "Values", "Name", "neu"));
}

// A link to a file is kept and the file rewritten; a link that leads nowhere stays as it
// is and the write says it failed.
TEST_F(SettingsStoreTest, LinkUnderTheFileNameIsFollowedOnlyToAnExistingFile) {
    const fs::path dotfile = home_.path() / "dotfiles" / "Verbindung.ini";
    fs::create_directories(dotfile.parent_path());
    fs::create_directories(folder());
    writeBytes(dotfile, "[Values]\nName=alt\n");
    struct Link {
        std::string application;
        fs::path target;
        bool followed;
    };
    for (const Link& link : {Link{"Verbindung", dotfile, true},
                             Link{"Leer", dotfile.parent_path() / "Leer.ini", false},
                             Link{"Fort", home_.path() / "missing" / "Fort.ini", false}}) {
        SCOPED_TRACE(link.application);
        fs::create_symlink(link.target, file(link.application));
        EXPECT_EQ(store_.write(link.application, "Values", "Password", "geheim"), link.followed);
        EXPECT_EQ(fs::read_symlink(file(link.application)), link.target);
        EXPECT_EQ(store_.read(link.application, "Values", "Password"),
                  link.followed ? "geheim" : "");
        EXPECT_EQ(fs::exists(link.target), link.followed);
    }
    EXPECT_EQ(test::readLines(dotfile),
              (std::vector<std::string>{"[Values]", "Name=alt", "Password=geheim"}));
    EXPECT_EQ(modeOf(dotfile), 0600u);
    EXPECT_FALSE(fs::exists(home_.path() / "missing"));
    EXPECT_EQ(namesIn(folder()),
              (std::vector<std::string>{"Fort.ini", "Leer.ini", "Verbindung.ini"}));
}

// Root may write any file, but not on a read-only mount nor by a rename over a mount point.
TEST_F(SettingsStoreTest, FileThatCannotBeReplacedKeepsItsValuesAndTheWriteSaysSo) {
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "mount point");
        ASSERT_TRUE(store_.write("Verbindung", "Values", "Name", "alt"));
        {
            const ScopedBindMount mount(file("Verbindung"), readOnly);
            if (!mount.mounted()) {
                GTEST_SKIP() << "needs root and the right to mount";
            }
            EXPECT_FALSE(store_.write("Verbindung", "Values", "Name", "neu"));
            EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "alt");
        }
        // Nor does the value come back, or get written, once the file could be replaced.
        EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "alt");
        EXPECT_EQ(test::readLines(file("Verbindung")),
                  (std::vector<std::string>{"[Values]", "Name=alt"}));
        EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"Verbindung.ini"});
    }
}

// A file QSettings cannot parse: reads give nothing and leave it alone; the next write
// keeps it as a backup and starts afresh.
class UnreadableSettingsTest : public SettingsStoreTest,
                               public ::testing::WithParamInterface<std::string> {};

TEST_P(UnreadableSettingsTest, ReadsEmptyLeavesFileAloneThenBacksItUpOnWrite) {
    const std::string broken = GetParam();
    fs::create_directories(folder());
    writeBytes(file("Verbindung"), broken);
    ASSERT_EQ(::chmod(file("Verbindung").c_str(), 0600), 0);
    const auto modified = fs::last_write_time(file("Verbindung"));

    // Twice: QSettings reports a parse error only the first time it reads a file.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "") << "round " << round;
        EXPECT_EQ(store_.read("Verbindung", "Values", "Userername"), "") << "round " << round;
    }
    EXPECT_EQ(readBytes(file("Verbindung")), broken);
    EXPECT_EQ(fs::last_write_time(file("Verbindung")), modified);
    EXPECT_FALSE(fs::exists(folder() / "Verbindung.ini.lock"));

    ASSERT_TRUE(store_.write("Verbindung", "Values", "Password", "geheim"));

    EXPECT_EQ(readBytes(folder() / "Verbindung.ini.unreadable"), broken);
    EXPECT_EQ(test::readLines(file("Verbindung")),
              (std::vector<std::string>{"[Values]", "Password=geheim"}));
    EXPECT_EQ(modeOf(file("Verbindung")), 0600u);
    EXPECT_EQ(store_.read("Verbindung", "Values", "Password"), "geheim");
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "") << "nothing carried over";
}

INSTANTIATE_TEST_SUITE_P(
    FormatErrors, UnreadableSettingsTest,
    ::testing::Values(
        // A section header without its closing bracket.
        std::string("[Values\nName=Alt\n"),
        // A line without "=": QSettings would still hand out Name, the file is damaged.
        std::string("[Values]\nName=Alt\nUserername=anna\nthis line has no equals sign\n")));

TEST_F(SettingsStoreTest, FolderInPlaceOfTheFileReadsEmptyAndIsMovedAsideOnWrite) {
    fs::create_directories(file("VidOru FTP") / "inner");

    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "");
    EXPECT_TRUE(fs::is_directory(file("VidOru FTP") / "inner"));

    ASSERT_TRUE(store_.write("VidOru FTP", "Values", "Server", "ftp.example.org"));
    EXPECT_TRUE(fs::is_directory(folder() / "VidOru FTP.ini.unreadable" / "inner"));
    EXPECT_EQ(store_.read("VidOru FTP", "Values", "Server"), "ftp.example.org");
}

TEST_F(SettingsStoreTest, EarlierBackupIsNeverReplaced) {
    fs::create_directories(folder());
    writeBytes(folder() / "Verbindung.ini.unreadable", "first");
    writeBytes(file("Verbindung"), "[second\n");

    ASSERT_TRUE(store_.write("Verbindung", "Values", "Name", "x"));

    EXPECT_EQ(readBytes(folder() / "Verbindung.ini.unreadable"), "first");
    EXPECT_EQ(readBytes(folder() / "Verbindung.ini.unreadable.2"), "[second\n");
    EXPECT_EQ(store_.read("Verbindung", "Values", "Name"), "x");
}

// The store kept from reading a file by its mode, as an ordinary user is; the first
// fault found, or "" when all went as it should.
std::string modeZeroScenario(const fs::path& home) {
    QSettingsStore store(home);
    const fs::path folder = home / "somnar-scheduler";
    if (!store.write("Verbindung", "Values", "Name", "alt")) {
        return "first write failed";
    }
    const std::string before = readBytes(folder / "Verbindung.ini");
    if (::chmod((folder / "Verbindung.ini").c_str(), 0) != 0) {
        return "chmod failed";
    }
    if (store.read("Verbindung", "Values", "Name") != "") {
        return "a file without read permission gave a value";
    }
    if (!store.write("Verbindung", "Values", "Name", "neu")) {
        return "write after the unreadable file failed";
    }
    if (store.read("Verbindung", "Values", "Name") != "neu") {
        return "the fresh file does not hold the new value";
    }
    const fs::path backup = folder / "Verbindung.ini.unreadable";
    if (::chmod(backup.c_str(), 0600) != 0 || readBytes(backup) != before) {
        return "the backup does not hold the old bytes";
    }
    return "";
}

TEST_F(SettingsStoreTest, FileWithoutReadPermissionReadsEmptyAndIsKept) {
    if (::geteuid() != 0) {
        EXPECT_EQ(modeZeroScenario(home_.path()), "");
        return;
    }
    // Root reads any file, so a child process runs the case as the user "nobody".
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chown(home_.path().c_str(), kNobody, kNobody), 0);
    EXPECT_EXIT(
        {
            if (::setresgid(kNobody, kNobody, kNobody) != 0 ||
                ::setresuid(kNobody, kNobody, kNobody) != 0) {
                std::fprintf(stderr, "could not become nobody\n");
                std::_Exit(2);
            }
            const std::string fault = modeZeroScenario(home_.path());
            std::fprintf(stderr, "%s\n", fault.c_str());
            std::_Exit(fault.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace somnar
