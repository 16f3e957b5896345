// What the program keeps on disk (ip.html, its folders, its settings, its lock file) and the
// upload of ip.html to a pyftpdlib server on the loopback.

#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <csignal>
#include <cstdio>
#include "backends/test_environment.h"
#include "platform/curl/curl_ftp_client.h"
#include "platform/linux/lazy_ftp_client.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/qsettings_store.h"
#include "platform/linux/unique_fd.h"

namespace somnar::test {
namespace {
// What fsync and rename were given while `recording` ("fsync <inode>", "rename <inode> <to>");
// a rename onto `failRenameTo` fails as on a failing disk.
struct FileCalls {
    bool recording = false;
    std::string failRenameTo;
    Lines calls;
} fileCalls;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
}  // namespace
}  // namespace somnar::test

// This program's own fsync and rename, in front of the C library's for every caller, Qt too.
extern "C" int fsync(int fd) {
    struct stat status {};
    if (somnar::test::fileCalls.recording && ::fstat(fd, &status) == 0) {
        somnar::test::fileCalls.calls.push_back("fsync " + std::to_string(status.st_ino));
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int rename(const char* from, const char* to) noexcept {
    struct stat status {};
    if (somnar::test::fileCalls.recording && ::lstat(from, &status) == 0) {
        somnar::test::fileCalls.calls.push_back("rename " + std::to_string(status.st_ino) + " " +
                                                to);
    }
    if (somnar::test::fileCalls.failRenameTo == to) {
        errno = EIO;
        return -1;
    }
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace somnar {
namespace {

using test::FtpServer;
using namespace std::string_literals;

// A '?' for what Latin-1 lacks, a combining accent joined to its letter; a link replaced, not
// written through. A folder is writable where a file can be made; its probe is not left.
TEST(FilesTest, WritesLatin1BytesInPlaceOfALinkInAWritableFolder) {
    const test::TempDir temp;
    const fs::path file = temp.path() / "ip.html";
    LinuxFiles files;
    EXPECT_FALSE(files.writeSingleByteText((temp.path() / "none" / "ip.html").string(), "x"));
    test::writeFile(temp.path() / "other", "kept");
    fs::create_symlink(temp.path() / "other", file);
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(files.writeSingleByteText(file.string(),
                                          "Grüße\r\na\u20ACb\U0001F600c\u00FF\xFFMu\u0308nchen"));
    ::umask(previous);
    EXPECT_EQ(test::contentOf(file),
              "Gr\xFC\xDF"
              "e\r\na?b?c\xFF?M\xFCnchen");
    EXPECT_EQ(test::contentOf(temp.path() / "other"), "kept");
    EXPECT_EQ(test::modeOf(file), 0644u);
    EXPECT_TRUE(files.folderWritable(temp.path().string()));
    for (const std::string& folder : {std::string(), file.string(), file.string() + "/none"}) {
        EXPECT_FALSE(files.folderWritable(folder)) << folder;
    }
    EXPECT_EQ(test::filesIn(temp.path()).size(), 2u) << "the probe is left";
}

// Private from the first write whatever the umask; a link's file is rewritten in place. A line
// from an editor that writes Latin-1 reads so, without a change to the file, and is stored in
// UTF-8 by the next write. Reads see every change made meanwhile.
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
    const std::string latin1 = "[Values]\nName=B\xfcro\nUser=J\xc3\xbcrgen\n";
    test::writeFile(home.path() / "dotfile", latin1);
    fs::create_symlink(home.path() / "dotfile", folder / "Verbindung.ini");
    fs::create_symlink(home.path() / "missing" / "Fort.ini", folder / "Fort.ini");
    EXPECT_EQ(store.read("Verbindung", "Values", "Name"), "Büro");
    EXPECT_EQ(store.read("Verbindung", "Values", "User"), "Jürgen");
    EXPECT_EQ(test::contentOf(home.path() / "dotfile"), latin1);
    EXPECT_EQ(test::filesIn(folder).size(), 2u) << "a copy for reading is left";
    EXPECT_TRUE(store.write("Verbindung", "Values", "Password", "geheim"));
    EXPECT_EQ(test::contentOf(home.path() / "dotfile"),
              "[Values]\nName=Büro\nPassword=geheim\nUser=Jürgen\n");
    EXPECT_EQ(test::modeOf(home.path() / "dotfile"), 0600u);
    EXPECT_FALSE(store.write("Fort", "Values", "Password", "geheim"));
    EXPECT_FALSE(fs::exists(home.path() / "missing"));
    EXPECT_FALSE(store.write("../Verbindung", "Values", "Name", "x"));
    QSettingsStore again(home.path() / "config");
    EXPECT_EQ(again.read("Verbindung", "Values", "Password"), "geheim");
    // What another writer or an editor changes shows in the next read.
    ASSERT_TRUE(again.write("Verbindung", "Values", "Password", "anders"));
    EXPECT_EQ(store.read("Verbindung", "Values", "Password"), "anders");
    test::writeFile(home.path() / "dotfile", "[Values]\nPassword=neu\n");
    EXPECT_EQ(store.read("Verbindung", "Values", "Password"), "neu");
    EXPECT_EQ(store.read("Verbindung", "Values", "Name"), "");
}

// The new file is on disk before it takes the old one's place, and dated after it (one dated
// ahead too, so no read takes it for the old); a failed rename is not reported as stored. A
// file that cannot be parsed is kept aside, never over an earlier one, or it is not replaced.
TEST(SettingsStoreTest, ARewriteIsOnDiskAndDatedAfterTheOldFileOrNotReported) {
    const test::TempDir home;
    const fs::path folder = home.path() / "somnar-scheduler", file = folder / "Verbindung.ini";
    QSettingsStore store(home.path());
    ASSERT_TRUE(store.write("Verbindung", "Values", "User", "anna"));
    const auto old = fs::last_write_time(file) + 1h;
    fs::last_write_time(file, old);
    test::fileCalls.failRenameTo = file.string();
    EXPECT_FALSE(store.write("Verbindung", "Values", "User", "bert"));
    test::fileCalls = {true, "", {}};
    EXPECT_EQ(test::filesIn(folder), Lines{"Verbindung.ini"});
    EXPECT_EQ(store.read("Verbindung", "Values", "User"), "anna");
    ASSERT_TRUE(store.write("Verbindung", "Values", "User", "carl"));
    test::fileCalls.recording = false;
    EXPECT_GT(fs::last_write_time(file), old);
    EXPECT_EQ(store.read("Verbindung", "Values", "User"), "carl");
    const Lines& calls = test::fileCalls.calls;
    const auto renamed = std::find_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call.starts_with("rename ") && call.ends_with(" " + file.string());
    });
    ASSERT_NE(renamed, calls.end());
    const std::string fsync = "fsync " + renamed->substr(7, renamed->find(' ', 7) - 7);
    EXPECT_TRUE(std::find(calls.begin(), renamed, fsync) != renamed) << "not on disk before";
    const std::string broken = "[Values\nUser=dora\n";
    test::writeFile(file, broken);
    test::writeFile(folder / "Verbindung.ini.unreadable", "earlier");
    ASSERT_TRUE(store.write("Verbindung", "Values", "User", "emil"));
    EXPECT_EQ(test::contentOf(folder / "Verbindung.ini.unreadable"), "earlier");
    EXPECT_EQ(test::contentOf(folder / "Verbindung.ini.unreadable.2"), broken);
    EXPECT_EQ(test::readLines(file), (Lines{"[Values]", "User=emil"}));
    for (int taken = 3; taken <= 100; ++taken) {
        test::writeFile(folder / ("Verbindung.ini.unreadable." + std::to_string(taken)), "");
    }
    test::writeFile(file, broken);
    EXPECT_FALSE(store.write("Verbindung", "Values", "User", "fritz"));
    EXPECT_EQ(test::contentOf(file), broken);
}

// Lets this process put only the first bytes of a file on disk, as a full disk does: 256 (left
// < 0), or (for root) on a disk of 16 pages at `folder`, `left` of them besides an old file's.
bool fillUp(const fs::path& folder, int left) {
    const rlimit limit{256, 256};
    if (left < 0) {
        return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "nr_blocks=16") != 0) {
        return false;
    }
    test::writeFile(folder / "fill", std::string((15 - left) * 4096, 'x'));
    return true;
}

// A write either fails and leaves the old file alone and as it was ('k'), or says it wrote and
// the file holds all it should ('w'); QSettings on a page too few writes nothing, says NoError.
TEST(FullDiskTest, AWriteThatCannotFinishKeepsTheOldFile) {
    const test::TempDir home;
    const fs::path folder = home.path() / "somnar-scheduler";
    const std::string old = "[Values]\nName=provider\n", text(300, 'u');
    QSettingsStore store(home.path());
    const auto page = (folder / "ip.html").string();
    const std::tuple<std::string, std::function<bool()>, std::string> writers[] = {
        {"Verbindung.ini", [&] { return store.write("Verbindung", "Values", "User", text); },
         old + "User=" + text + "\n"},
        {"ip.html", [&] { return LinuxFiles().writeSingleByteText(page, text); }, text}};
    bool noSmallDisk = false;
    for (const auto& [name, write, written] : writers) {
        std::string outcomes;
        for (int left = -1; left < 8; ++left) {
            outcomes += static_cast<char>(test::inChild([&] {
                fs::remove_all(folder);  // another writer's, where no disk was mounted
                if (!fillUp(home.path(), left) || !fs::create_directory(folder)) {
                    return '!';
                }
                test::writeFile(folder / name, old);
                const bool wrote = write();
                const bool right = test::filesIn(folder) == Lines{name} &&
                                   test::contentOf(folder / name) == (wrote ? written : old);
                return right ? (wrote ? 'w' : 'k') : '?';
            }));
        }
        noSmallDisk = outcomes.find('!') != std::string::npos;
        EXPECT_THAT(outcomes, ::testing::MatchesRegex(noSmallDisk ? "k!+" : "kk+w+")) << name;
    }
    if (noSmallDisk) {
        GTEST_SKIP() << "no small disk to be had here";
    }
}

// One copy runs at a time; no link is followed, and another user's file, held, cannot keep us
// from starting. The lock lies in the runtime folder, else in our own folder under the state
// folder (~/.local/state when none is set), else under the cache folder; a relative one, one
// open to others (so ours is made 0700) or one owned by another user is passed over.
TEST(InstanceGuardTest, OneCopyRunsAtATimeLockedInAFolderOnlyWeCanWriteTo) {
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
    const fs::path run = dir.path() / "run", ours = "somnar-scheduler/somnar-scheduler.lock";
    const test::ScopedEnv runtime("XDG_RUNTIME_DIR", run.string());
    const test::ScopedEnv state("XDG_STATE_HOME", "");
    const test::ScopedEnv cache("XDG_CACHE_HOME", (dir.path() / "cache").string());
    const test::ScopedEnv home("HOME", (dir.path() / "home").string());
    fs::create_directory(run);
    fs::permissions(run, fs::perms(0700));
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), run / "somnar-scheduler.lock");
    fs::permissions(run, fs::perms(0755));
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), dir.path() / "home/.local/state" / ours);
    fs::permissions(run, fs::perms(0700));
    ::setenv("XDG_RUNTIME_DIR", fs::relative(run).c_str(), 1);
    ::setenv("XDG_STATE_HOME", (dir.path() / "state").c_str(), 1);
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), dir.path() / "state" / ours);
    ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    const fs::path strangers = dir.path() / "stranger.lock";
    test::writeFile(strangers, "");
    if (::chown(run.c_str(), 65534, 65534) != 0 || ::chown(strangers.c_str(), 65534, 65534) != 0 ||
        ::chown((dir.path() / "state/somnar-scheduler").c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "needs root to give a file to another user";
    }
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), dir.path() / "cache" / ours);
    fs::permissions(dir.path() / "cache/somnar-scheduler", fs::perms(0777));
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), "");
    const UniqueFd held(::open(strangers.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(held.get(), LOCK_EX), 0);  // as its owner would
    EXPECT_TRUE(LockFileInstanceGuard(strangers).acquire());
}

// ip.html as the program writes it, with a lone LF, a lone CR and bytes a text transfer
// would touch: only a binary transfer keeps them all.
const std::string kPage =
    "<HTML>\r\n127.0.0.1\r\nlone\nline\rends \x1a\xe4\xff" + std::string(1, '\0') + "end\r\n";

MATCHER_P(Gives, code, "gives code " + std::to_string(code)) {
    *result_listener << "ok " << arg.ok << ", code " << arg.code << " " << arg.reply;
    return arg.ok == (code == 0) && arg.code == code;
}

class FtpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(page_, kPage);
        ASSERT_THAT(client_.open("Somnar Scheduler"), Gives(0));
    }

    test::TempDir local_;
    fs::path page_ = local_.path() / "ip.html";
    CurlFtpClient client_{2s, 2s};
};

// An empty folder is the login's (no bare CWD, which common servers refuse); the remote name
// as given, with a '%' that looks escaped and a '#' and a '?' that end a URL's path.
TEST_F(FtpClientTest, UploadArrivesByteForByteWhereItBelongs) {
    const struct {
        bool passive;
        const char* host;
        std::string folder, remote;
        std::string commands;  // between login and QUIT
    } cases[] = {{false, "127.0.0.1", "a/b", "ip.html", "CWD a/b,EPRT,TYPE I,STOR ip.html"},
                 {true, "127.0.0.1", "", "ip.html", "EPSV,TYPE I,STOR ip.html"},
                 {true, "::1", "/", "my ip%20#1?.html", "CWD /,EPSV,TYPE I,STOR my ip%20#1?.html"}};
    for (const auto& c : cases) {
        FtpServer server({"--folder", "a/b", "--host", c.host});
        EXPECT_THAT(
            client_.connect({server.address, FtpServer::kUser, FtpServer::kPassword, c.passive}),
            Gives(0));
        EXPECT_THAT(client_.changeDirectory(c.folder), Gives(0));
        EXPECT_THAT(client_.putFile(page_.string(), c.remote), Gives(0));
        client_.disconnect();
        client_.disconnect();
        std::string stored = c.folder + "/" + c.remote;
        stored.erase(0, stored.find_first_not_of('/'));
        EXPECT_EQ(test::filesIn(server.home), Lines{stored});
        EXPECT_EQ(test::contentOf(server.home / stored), kPage);
        std::string received;  // EPRT without its address, which the system picks
        for (const std::string& command : server.commands()) {
            received += (received.empty() ? "" : ",") + command.substr(0, command.find(" |"));
        }
        // A server without TLS gets the login in clear, as before.
        EXPECT_EQ(received,
                  "AUTH TLS,AUTH SSL,USER somnar,PASS ******,PWD," + c.commands + ",QUIT");
    }
}

// A missing local file sends nothing, and the connection is still good for the next try;
// a lost connection stores nothing (a new login would store in the wrong folder).
TEST_F(FtpClientTest, LocalOrConnectionTroubleStoresNothing) {
    FtpServer server({"--folder", "pub", "--hang-up-after-cwd"});
    ASSERT_THAT(client_.connect({server.address, FtpServer::kUser, FtpServer::kPassword, true}),
                Gives(0));
    EXPECT_THAT(client_.putFile((local_.path() / "missing.html").string(), "ip.html"), Gives(37));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(0));
    ASSERT_THAT(client_.changeDirectory("pub"), Gives(0));
    std::this_thread::sleep_for(200ms);  // until the hang-up has arrived
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(42));
    EXPECT_EQ(test::filesIn(server.home), Lines{"ip.html"});
}

// Refusals carry the server's reply code, else libcurl's; a line break cannot smuggle in a
// command nor a NUL cut a value short, and a server that never answers fails within the
// answer limit.
TEST_F(FtpClientTest, RefusalsCarryTheServersReplyCodeElseLibcurls) {
    EXPECT_THAT(CurlFtpClient().putFile(page_.string(), "ip.html"), Gives(2));
    EXPECT_THAT(client_.changeDirectory("pub"), Gives(2));
    const std::string closed = FtpServer().address;  // gone with the server
    EXPECT_THAT(client_.connect({closed, "a", "b", true}), Gives(7));
    LazyFtpClient lazy({"/nirgends/somnar_ftp.so", SOMNAR_FTP_MODULE});
    EXPECT_THAT(lazy.open("Somnar Scheduler"), Gives(0));
    EXPECT_THAT(lazy.connect({closed, "anna", "geheim", true}), Gives(7));
    EXPECT_THAT(LazyFtpClient({"/nirgends/somnar_ftp.so"}).open("Somnar"), Gives(2));
    for (const std::string& server : {"host:0"s, "host:65536"s, "[host]:21"s, "user@host"s,
                                      "fe80::1%eth0"s, "127.0.0.1\0:21"s, "127.0.0.1\r\n"s}) {
        EXPECT_THAT(client_.connect({server, "a", "b", true}), Gives(3)) << server;
    }
    for (const auto& [user, password] :
         {std::pair{"anna\r\nSITE x"s, "b"s}, {"an\0na"s, "b"s}, {"anna"s, "b\0c"s}}) {
        EXPECT_THAT(client_.connect({"127.0.0.1", user, password, true}), Gives(43)) << user;
    }
    FtpServer server({"--read-only", "--anonymous"});
    const FtpResult refused = client_.connect({server.address, FtpServer::kUser, "wrong", true});
    EXPECT_EQ(std::to_string(refused.code) + " " + refused.reply, "530 530 Authentication failed.");
    EXPECT_THAT(client_.connect({server.address, "", "", true}), Gives(0));
    EXPECT_THAT(server.commands(), ::testing::Contains("USER anonymous"));
    EXPECT_THAT(client_.putFile(page_.string(), "ip.html"), Gives(550));
    EXPECT_THAT(client_.changeDirectory("pub\r\nMKD injected"), Gives(43));
    EXPECT_THAT(client_.changeDirectory("/\0pub"s), Gives(43));
    EXPECT_THAT(test::filesIn(server.home), ::testing::IsEmpty());
    FtpServer silent({"--silent"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(client_.connect({silent.address, "a", "b", true}), Gives(28));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

}  // namespace
}  // namespace somnar
