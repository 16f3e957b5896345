// What the program keeps on disk: ip.html, its folders, its settings, its lock file.

#include <QLockFile>
#include <QString>
#include "platform/linux/linux_files.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/qt/qsettings_store.h"

#include <sys/resource.h>
#include <csignal>
#include <utility>

#include "backends/test_environment.h"

namespace somnar {
namespace {

using test::contentOf;
using test::writeFile;

class FilesTest : public ::testing::Test {
  protected:
    test::TempDir temp_;
    fs::path file_ = temp_.path() / "ip.html";
    LinuxFiles files_;
};

// Latin-1 as its bytes, one question mark for anything else (a euro sign, a character
// beyond the BMP, a byte that is not UTF-8), a combining accent joined to its letter. A link
// is replaced, not written through; so is a read-only file.
TEST_F(FilesTest, WritesLatin1BytesIntoAPlainFileInPlaceOfALink) {
    test::writeFile(temp_.path() / "other", "kept");
    fs::create_symlink(temp_.path() / "other", file_);
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(files_.writeSingleByteText(file_.string(),
                                           "Grüße\r\na\u20ACb\U0001F600c\u00FF\xFFMu\u0308nchen"));
    ::umask(previous);
    EXPECT_EQ(contentOf(file_),
              "Gr\xFC\xDF"
              "e\r\na?b?c\xFF?M\xFCnchen");
    EXPECT_EQ(contentOf(temp_.path() / "other"), "kept");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file_)));
    EXPECT_EQ(test::modeOf(file_), 0644u);
    // A read-only file left by an earlier run, in a folder open to the writer.
    fs::permissions(file_, fs::perms(0444));
    fs::permissions(temp_.path(), fs::perms::all);
    EXPECT_TRUE(test::asNobody([&] { return LinuxFiles().writeSingleByteText(file_, "2"); }));
    EXPECT_EQ(contentOf(file_), "2");
}

// Nothing written keeps the old file and leaves no part of the new one behind.
TEST_F(FilesTest, WhatCannotBeWrittenKeepsTheOldFileAndLeavesNoPart) {
    EXPECT_FALSE(files_.writeSingleByteText((temp_.path() / "none" / "ip.html").string(), "x"));
    EXPECT_FALSE(files_.writeSingleByteText("", "x"));
    test::writeFile(file_, "old");
    // A file size limit lets the first bytes in and refuses the rest, like a full disk.
    EXPECT_TRUE(test::inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               !LinuxFiles().writeSingleByteText(file_.string(), std::string(99999, 'x'));
    })) << "it said written";
    EXPECT_EQ(contentOf(file_), "old");
    EXPECT_EQ(test::filesIn(temp_.path()), Lines{"ip.html"});
}

// Writable where a file can be made, not for "nobody" in root's folder; the probe is gone
// again.
TEST_F(FilesTest, FolderWritableOnlyWhereAFileCanBeMade) {
    EXPECT_TRUE(files_.folderWritable(temp_.path().string()));
    EXPECT_TRUE(test::filesIn(temp_.path()).empty());
    test::writeFile(file_, "a file");
    for (const std::string& folder : {std::string(), file_.string(), file_.string() + "/none"}) {
        EXPECT_FALSE(files_.folderWritable(folder)) << folder;
    }
    fs::permissions(temp_.path(), fs::perms(0755));
    EXPECT_EQ(test::asNobody([&] { return LinuxFiles().folderWritable(temp_.path()); }),
              ::geteuid() != 0);
}

// One INI file per application, the section as its group, private from the first write
// whatever the umask (folders 0700, files 0600). A link's file is rewritten in place and
// made private; a link that leads nowhere, another writer's lock or a name that is no file
// name make the write fail.
TEST(SettingsStoreTest, FilesArePrivateAndRewrittenInPlaceOrNotAtAll) {
    test::TempDir home;
    const fs::path folder = home.path() / "config" / "somnar-scheduler";
    QSettingsStore store(home.path() / "config");
    EXPECT_EQ(store.read("Verbindung", "Values", "Name"), "");
    EXPECT_FALSE(fs::exists(folder)) << "reading creates nothing";
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(store.write("Somnar FTP", "Values", "Server", "alt"));
    ASSERT_TRUE(store.write("Somnar FTP", "Values", "User", "bob"));
    ASSERT_TRUE(store.write("Somnar FTP", "Values", "Server", "Grüße"));
    ::umask(previous);
    EXPECT_EQ(test::readLines(folder / "Somnar FTP.ini"),
              (Lines{"[Values]", "Server=Grüße", "User=bob"}));
    EXPECT_EQ(test::modeOf(home.path() / "config") | test::modeOf(folder), 0700u);
    EXPECT_EQ(test::modeOf(folder / "Somnar FTP.ini"), 0600u);
    writeFile(home.path() / "dotfile", "[Values]\nName=alt\n");
    fs::create_symlink(home.path() / "dotfile", folder / "Verbindung.ini");
    fs::create_symlink(home.path() / "missing" / "Fort.ini", folder / "Fort.ini");
    EXPECT_TRUE(store.write("Verbindung", "Values", "Password", "geheim"));
    EXPECT_EQ(test::readLines(home.path() / "dotfile"),
              (Lines{"[Values]", "Name=alt", "Password=geheim"}));
    EXPECT_EQ(test::modeOf(home.path() / "dotfile"), 0600u);
    EXPECT_FALSE(store.write("Fort", "Values", "Password", "geheim"));
    EXPECT_FALSE(fs::exists(home.path() / "missing"));
    EXPECT_FALSE(store.write("../Verbindung", "Values", "Name", "x"));
    QLockFile otherWriter(QString::fromStdString((folder / "Verbindung.ini.lock").string()));
    ASSERT_TRUE(otherWriter.tryLock(0));
    EXPECT_FALSE(store.write("Verbindung", "Values", "Password", "neu"));
    EXPECT_EQ(store.read("Verbindung", "Values", "Password"), "geheim");
}

// One copy runs until it ends (its file stays behind); the lock file is the owner's alone,
// no link is followed, and another user's file, held, cannot keep us from starting.
TEST(InstanceGuardTest, OneCopyRunsAtATime) {
    const test::TempDir dir;
    const fs::path lock = dir.path() / "somnar-scheduler.lock";
    const mode_t previous = ::umask(0);
    auto first = std::make_unique<LockFileInstanceGuard>(lock);
    EXPECT_TRUE(first->acquire());
    ::umask(previous);
    EXPECT_EQ(test::modeOf(lock), 0600u);
    EXPECT_TRUE(first->acquire()) << "asking again keeps the claim";
    LockFileInstanceGuard second(lock);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());

    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "link.lock");
    EXPECT_TRUE(LockFileInstanceGuard(dir.path() / "link.lock").acquire());
    EXPECT_FALSE(fs::exists(dir.path() / "elsewhere"));
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the lock file to another user";
    }
    const fs::path strangers = dir.path() / "stranger.lock";
    fs::permissions(dir.path(), fs::perms(0755));
    test::writeFile(strangers, "");
    ASSERT_EQ(::chown(strangers.c_str(), 65534, 65534), 0);
    test::ChildProcess stranger({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                 "--clear-groups", SOMNAR_PYTHON, "-c",
                                 "import fcntl, signal, sys; "
                                 "fcntl.flock(open(sys.argv[1]), fcntl.LOCK_EX); "
                                 "print('held', flush=True); signal.pause()",
                                 strangers.string()});
    ASSERT_EQ(stranger.readLine(), "held");
    EXPECT_TRUE(LockFileInstanceGuard(strangers).acquire());
}

// The runtime folder, else our own folder under the state folder, else under the cache
// folder; one open to others or owned by another user (mode | 01000) is passed over.
TEST(DefaultLockFileTest, LiesInAFolderOnlyWeCanWriteTo) {
    constexpr const char* kState = "state/somnar-scheduler/somnar-scheduler.lock";
    constexpr const char* kCache = "cache/somnar-scheduler/somnar-scheduler.lock";
    const struct {
        const char* runtime;  // XDG_RUNTIME_DIR; "/..." below the test's folder
        std::vector<std::pair<const char*, mode_t>> folders;  // made below the test's folder
        const char* lockFile;                                 // below the test's folder; "": none
        const char* state = "state";  // XDG_STATE_HOME below the test's folder; "": unset
    } cases[] = {{"/run", {{"run", 0700}}, "run/somnar-scheduler.lock"},
                 {"run", {}, kState},  // relative
                 {"/run", {{"run", 0755}}, kState},
                 {"/run", {{"run", 01700}}, kState},
                 {"", {}, "home/.local/state/somnar-scheduler/somnar-scheduler.lock", ""},
                 {"", {{"state/somnar-scheduler", 01700}}, kCache},
                 {"", {{"state/somnar-scheduler", 0755}, {"cache/somnar-scheduler", 0777}}, ""}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string root = dir.path().string() + "/";
        const auto below = [&](const char* path) { return *path ? root + path : ""; };
        const test::ScopedEnv runtime("XDG_RUNTIME_DIR",
                                      *c.runtime == '/' ? root + c.runtime : c.runtime);
        const test::ScopedEnv state("XDG_STATE_HOME", below(c.state));
        const test::ScopedEnv cache("XDG_CACHE_HOME", root + "cache");
        const test::ScopedEnv home("HOME", root + "home");
        for (const auto& [folder, mode] : c.folders) {
            fs::create_directories(root + folder);
            ::chmod((root + folder).c_str(), mode & 0777);
            if (mode > 0777 && ::chown((root + folder).c_str(), 65534, 65534) != 0) {
                GTEST_SKIP() << "needs root to give a folder to another user";
            }
        }
        EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), below(c.lockFile));
        EXPECT_TRUE(LockFileInstanceGuard().acquire());
        if (*c.lockFile) {
            EXPECT_EQ(test::modeOf(fs::path(below(c.lockFile)).parent_path()), 0700u);
        }
    }
}

}  // namespace
}  // namespace somnar
