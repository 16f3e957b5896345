#include "platform/linux/linux_files.h"

#include "backends/test_environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace somnar {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

unsigned modeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// Runs `check` in a child process as the user "nobody"; true when it says yes there.
template <typename Check>
bool asNobody(Check check) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0) {
            std::_Exit(2);
        }
        std::_Exit(check() ? 0 : 1);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become nobody";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }

    // A root-owned 0755 folder that others may enter but not write to.
    fs::path rootOnlyFolder() {
        if (::geteuid() != 0) {
            return {};
        }
        fs::permissions(temp_.path(), fs::perms(0755));
        fs::path folder = temp_.path() / "root-only";
        fs::create_directory(folder);
        fs::permissions(folder, fs::perms(0755));
        return folder;
    }

    test::TempDir temp_;
    LinuxFiles files_;
};

TEST_F(FilesTest, WritesLatin1BytesWithTheLineEndsAsGiven) {
    const fs::path file = temp_.path() / "ip.html";
    ASSERT_TRUE(files_.writeSingleByteText(file.string(), "<HTML>\r\nGrüße: 1.2\r\n"));
    EXPECT_EQ(bytesOf(file),
              "<HTML>\r\nGr\xFC\xDF"
              "e: 1.2\r\n");
}

TEST_F(FilesTest, CharactersBeyondLatin1BecomeOneQuestionMarkEach) {
    const fs::path file = temp_.path() / "out.txt";
    // Euro sign (3 UTF-8 bytes), a character beyond the BMP (4 bytes, two UTF-16 units),
    // the last Latin-1 character ÿ, and a byte that is not UTF-8.
    ASSERT_TRUE(files_.writeSingleByteText(file.string(),
                                           "a\u20ACb\U0001F600c\u00FFd\xFF"
                                           "e"));
    EXPECT_EQ(bytesOf(file),
              "a?b?c\xFF"
              "d?e");
}

TEST_F(FilesTest, LetterWithCombiningAccentBecomesItsLatin1Byte) {
    const fs::path file = temp_.path() / "out.txt";
    ASSERT_TRUE(files_.writeSingleByteText(file.string(), "Mu\u0308nchen"));
    EXPECT_EQ(bytesOf(file), "M\xFCnchen");
}

TEST_F(FilesTest, EmptyTextMakesAnEmptyFile) {
    const fs::path file = temp_.path() / "empty.txt";
    ASSERT_TRUE(files_.writeSingleByteText(file.string(), ""));
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(FilesTest, ShorterTextReplacesTheWholeFile) {
    const fs::path file = temp_.path() / "ip.html";
    ASSERT_TRUE(files_.writeSingleByteText(file.string(), "a long first document\r\n"));
    ASSERT_TRUE(files_.writeSingleByteText(file.string(), "short\r\n"));
    EXPECT_EQ(bytesOf(file), "short\r\n");
    EXPECT_THAT(namesIn(temp_.path()), ElementsAre("ip.html"));
}

TEST_F(FilesTest, LinkUnderTheNameIsReplacedByAPlainFileNotWrittenThrough) {
    const fs::path file = temp_.path() / "ip.html";
    std::ofstream(temp_.path() / "other") << "kept";
    fs::create_symlink(temp_.path() / "other", file);
    const mode_t previous = ::umask(0);
    const bool written = files_.writeSingleByteText(file.string(), "neu");
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(bytesOf(temp_.path() / "other"), "kept");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
    EXPECT_EQ(bytesOf(file), "neu");
    EXPECT_EQ(modeOf(file), 0644u);
    EXPECT_THAT(namesIn(temp_.path()), UnorderedElementsAre("ip.html", "other"));
}

TEST_F(FilesTest, ReadOnlyOldFileInAWritableFolderIsReplaced) {
    const fs::path file = temp_.path() / "ip.html";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms(0444));
    fs::permissions(temp_.path(), fs::perms::all);
    // Root writes any file, so the case runs as another user where it can.
    const auto write = [&] { return LinuxFiles().writeSingleByteText(file.string(), "neu"); };
    EXPECT_TRUE(::geteuid() == 0 ? asNobody(write) : write());
    EXPECT_EQ(bytesOf(file), "neu");
}

TEST_F(FilesTest, MissingFolderCannotBeWritten) {
    EXPECT_FALSE(files_.writeSingleByteText((temp_.path() / "none" / "ip.html").string(), "x"));
    EXPECT_FALSE(fs::exists(temp_.path() / "none"));
    EXPECT_FALSE(files_.writeSingleByteText("", "x"));
}

TEST_F(FilesTest, FolderOfTheFilesNameIsLeftAlone) {
    const fs::path file = temp_.path() / "ip.html";
    fs::create_directory(file);
    std::ofstream(file / "inside") << "kept";
    EXPECT_FALSE(files_.writeSingleByteText(file.string(), "x"));
    EXPECT_EQ(bytesOf(file / "inside"), "kept");
    EXPECT_THAT(namesIn(temp_.path()), ElementsAre("ip.html"));
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndLeavesNoPart) {
    const fs::path file = temp_.path() / "ip.html";
    std::ofstream(file) << "old";
    // A file size limit lets the first bytes in and refuses the rest, like a disk that
    // fills up in the middle of the write.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            std::_Exit(2);
        }
        std::_Exit(LinuxFiles().writeSingleByteText(file.string(), std::string(100000, 'x')) ? 0
                                                                                             : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "2: no limit could be set, 0: it said written";
    EXPECT_EQ(bytesOf(file), "old");
    EXPECT_THAT(namesIn(temp_.path()), ElementsAre("ip.html"));
}

TEST_F(FilesTest, RootOwnedFolderCannotBeWrittenByAnotherUser) {
    const fs::path folder = rootOnlyFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "needs root to make a folder another user may not write to";
    }
    const std::string file = (folder / "ip.html").string();
    EXPECT_FALSE(asNobody([&] { return LinuxFiles().writeSingleByteText(file, "x"); }));
    EXPECT_FALSE(fs::exists(file));
    // The control: the same check as nobody where nobody may write.
    const fs::path open = temp_.path() / "open";
    fs::create_directory(open);
    fs::permissions(open, fs::perms::all);
    EXPECT_TRUE(asNobody(
        [&] { return LinuxFiles().writeSingleByteText((open / "ip.html").string(), "x"); }));
}

TEST_F(FilesTest, FolderWritable) {
    EXPECT_TRUE(files_.folderWritable(temp_.path().string()));
    EXPECT_THAT(namesIn(temp_.path()), IsEmpty());  // the probe is gone again
    EXPECT_FALSE(files_.folderWritable((temp_.path() / "missing").string()));
    EXPECT_FALSE(files_.folderWritable(""));
    std::ofstream(temp_.path() / "plain") << "a file";
    EXPECT_FALSE(files_.folderWritable((temp_.path() / "plain").string()));
}

TEST_F(FilesTest, RootOwnedFolderIsNotWritableForAnotherUser) {
    const fs::path folder = rootOnlyFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "needs root to make a folder another user may not write to";
    }
    EXPECT_TRUE(files_.folderWritable(folder.string()));
    EXPECT_FALSE(asNobody([&] { return LinuxFiles().folderWritable(folder.string()); }));
    EXPECT_TRUE(asNobody([] { return LinuxFiles().folderWritable("/tmp"); }));
}

TEST_F(FilesTest, FolderOfAPseudoFilesystemIsNotWritableEvenForRoot) {
    // The permission bits let root into /proc, but the kernel makes no files there.
    EXPECT_FALSE(files_.folderWritable("/proc"));
}

// A small tmpfs mounted on a folder for the lifetime of the object (root only).
class ScopedTmpfs {
  public:
    ScopedTmpfs(fs::path folder, unsigned long flags, const char* options)
        : folder_(std::move(folder)) {
        fs::create_directory(folder_);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", flags, options) == 0;
    }
    ~ScopedTmpfs() {
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

    [[nodiscard]] bool mounted() const { return mounted_; }

  private:
    fs::path folder_;
    bool mounted_ = false;
};

TEST_F(FilesTest, ReadOnlyMountIsNotWritable) {
    const ScopedTmpfs mount(temp_.path() / "ro", MS_RDONLY, "size=64k");
    if (!mount.mounted()) {
        GTEST_SKIP() << "needs root and the right to mount a tmpfs";
    }
    EXPECT_FALSE(files_.folderWritable((temp_.path() / "ro").string()));
    EXPECT_FALSE(files_.writeSingleByteText((temp_.path() / "ro" / "ip.html").string(), "x"));
}

TEST_F(FilesTest, FilesystemWithoutFreeInodesIsNotWritableThoughAccessSaysYes) {
    // Its only inode is the root folder: the permission bits allow everything, no file fits.
    const ScopedTmpfs mount(temp_.path() / "full", 0, "size=64k,nr_inodes=1");
    if (!mount.mounted()) {
        GTEST_SKIP() << "needs root and the right to mount a tmpfs";
    }
    const std::string folder = (temp_.path() / "full").string();
    ASSERT_EQ(::access(folder.c_str(), W_OK | X_OK), 0);
    EXPECT_FALSE(files_.folderWritable(folder));
}

TEST_F(FilesTest, DataFolderIsMadePrivateUnderXdgDataHome) {
    const fs::path dataHome = temp_.path() / "data" / "home";
    const test::ScopedEnv env("XDG_DATA_HOME", dataHome.string());
    const std::string folder = files_.dataFolder();
    EXPECT_EQ(folder, (dataHome / "somnar-scheduler").string());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(dataHome), 0700u);
    // Asked again, the same folder, kept as it is.
    EXPECT_EQ(files_.dataFolder(), folder);
}

TEST_F(FilesTest, DataFolderUnderHomeWithoutXdgDataHome) {
    const test::ScopedEnv home("HOME", temp_.path().string());
    const test::ScopedEnv noXdg("XDG_DATA_HOME", "");
    EXPECT_EQ(LinuxFiles("other-name").dataFolder(),
              (temp_.path() / ".local" / "share" / "other-name").string());
}

TEST_F(FilesTest, ExistingDataFolderKeepsItsMode) {
    const test::ScopedEnv env("XDG_DATA_HOME", temp_.path().string());
    fs::create_directory(temp_.path() / "somnar-scheduler");
    fs::permissions(temp_.path() / "somnar-scheduler", fs::perms(0750));
    EXPECT_EQ(files_.dataFolder(), (temp_.path() / "somnar-scheduler").string());
    EXPECT_EQ(modeOf(temp_.path() / "somnar-scheduler"), 0750u);
}

TEST_F(FilesTest, DataFolderThatCannotBeMadeIsEmpty) {
    std::ofstream(temp_.path() / "somnar-scheduler") << "a file in the way";
    const test::ScopedEnv env("XDG_DATA_HOME", temp_.path().string());
    EXPECT_EQ(files_.dataFolder(), "");
    EXPECT_EQ(LinuxFiles("a/b").dataFolder(), "");
}

}  // namespace
}  // namespace somnar
