#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/test_environment.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_program_info.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using test::contentOf;

unsigned modeOf(const fs::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

class FilesTest : public ::testing::Test {
  protected:
    test::TempDir temp_;
    fs::path file_ = temp_.path() / "ip.html";
    LinuxFiles files_;
};

TEST_F(FilesTest, WritesLatin1BytesAsGivenAndOneQuestionMarkForAnythingElse) {
    const std::pair<std::string, std::string> cases[] = {
        {"<HTML>\r\nGrüße: 1.2\n",
         "<HTML>\r\nGr\xFC\xDF"
         "e: 1.2\n"},
        // Euro sign, a character beyond the BMP, the last Latin-1 character, not UTF-8.
        {"a\u20ACb\U0001F600c\u00FFd\xFF"
         "e",
         "a?b?c\xFF"
         "d?e"},
        {"Mu\u0308nchen", "M\xFCnchen"},  // a letter with a combining accent
        {"", ""}};
    for (const auto& [text, bytes] : cases) {
        ASSERT_TRUE(files_.writeSingleByteText(file_.string(), text));
        EXPECT_EQ(contentOf(file_), bytes);
    }
    EXPECT_TRUE(fs::is_regular_file(file_));
    EXPECT_EQ(namesIn(temp_.path()), std::vector<std::string>{"ip.html"});
}

// A link is replaced, not written through; a read-only old file in a writable folder too.
TEST_F(FilesTest, ReplacesWhatLiesUnderTheNameByAPlainFile) {
    test::writeFile(temp_.path() / "other", "kept");
    fs::create_symlink(temp_.path() / "other", file_);
    const mode_t previous = ::umask(0);
    EXPECT_TRUE(files_.writeSingleByteText(file_.string(), "neu"));
    ::umask(previous);
    EXPECT_EQ(contentOf(temp_.path() / "other"), "kept");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file_)));
    EXPECT_EQ(modeOf(file_), 0644u);
    fs::permissions(file_, fs::perms(0444));
    fs::permissions(temp_.path(), fs::perms::all);
    EXPECT_TRUE(test::asNobody([&] { return LinuxFiles().writeSingleByteText(file_, "2"); }));
    EXPECT_EQ(contentOf(file_), "2");
}

TEST_F(FilesTest, WhatCannotBeWrittenKeepsTheOldFileAndLeavesNoPart) {
    EXPECT_FALSE(files_.writeSingleByteText((temp_.path() / "none" / "ip.html").string(), "x"));
    EXPECT_FALSE(files_.writeSingleByteText("", "x"));
    fs::create_directory(file_);
    EXPECT_FALSE(files_.writeSingleByteText(file_.string(), "x"));
    fs::remove(file_);
    test::writeFile(file_, "old");
    // A file size limit lets the first bytes in and refuses the rest, like a full disk.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(LinuxFiles().writeSingleByteText(file_.string(), std::string(99999, 'x')));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "it said written";
    EXPECT_EQ(contentOf(file_), "old");
    EXPECT_EQ(namesIn(temp_.path()), std::vector<std::string>{"ip.html"});
}

TEST_F(FilesTest, FolderWritableOnlyWhereAFileCanBeMade) {
    EXPECT_TRUE(files_.folderWritable(temp_.path().string()));
    EXPECT_TRUE(namesIn(temp_.path()).empty());  // the probe is gone again
    test::writeFile(file_, "a file");
    for (const std::string& folder :
         {std::string(), std::string("/proc"), file_.string(), file_.string() + "/none"}) {
        EXPECT_FALSE(files_.folderWritable(folder)) << folder;
    }
    fs::permissions(temp_.path(), fs::perms(0755));  // root's own, open to enter
    if (::geteuid() == 0) {
        EXPECT_FALSE(test::asNobody([&] { return LinuxFiles().folderWritable(temp_.path()); }));
    }
    EXPECT_TRUE(test::asNobody([] { return LinuxFiles().folderWritable("/tmp"); }));
    // Permission bits that allow everything do not make room: a read-only mount, and one
    // whose only inode is its root folder.
    for (const auto& [options, flags] :
         {std::pair<const char*, unsigned long>{"size=64k", MS_RDONLY},
          {"size=64k,nr_inodes=1", 0}}) {
        const fs::path mount = temp_.path() / "mount";
        fs::create_directory(mount);
        if (::mount("tmpfs", mount.c_str(), "tmpfs", flags, options) != 0) {
            GTEST_SKIP() << "needs the right to mount a tmpfs";
        }
        EXPECT_FALSE(files_.folderWritable(mount.string())) << options;
        EXPECT_FALSE(files_.writeSingleByteText((mount / "ip.html").string(), "x"));
        ::umount2(mount.c_str(), MNT_DETACH);
    }
}

TEST_F(FilesTest, DataFolderIsMadePrivateUnderXdgDataHomeOrHome) {
    const fs::path dataHome = temp_.path() / "data" / "home";
    {
        const test::ScopedEnv env("XDG_DATA_HOME", dataHome.string());
        EXPECT_EQ(files_.dataFolder(), (dataHome / "somnar-scheduler").string());
        EXPECT_EQ(modeOf(dataHome / "somnar-scheduler"), 0700u);
        EXPECT_EQ(modeOf(dataHome), 0700u);
        fs::permissions(dataHome / "somnar-scheduler", fs::perms(0750));
        EXPECT_EQ(files_.dataFolder(), (dataHome / "somnar-scheduler").string());
        EXPECT_EQ(modeOf(dataHome / "somnar-scheduler"), 0750u);  // kept as it is
        EXPECT_EQ(LinuxFiles("a/b").dataFolder(), "");
        test::writeFile(dataHome / "in-the-way", "a file");
        EXPECT_EQ(LinuxFiles("in-the-way").dataFolder(), "");
    }
    const test::ScopedEnv home("HOME", temp_.path().string());
    const test::ScopedEnv noXdg("XDG_DATA_HOME", "");
    EXPECT_EQ(LinuxFiles("other").dataFolder(), (temp_.path() / ".local/share/other").string());
}

// The running program's name, extension and folders, also when its file was replaced
// while it runs; argv[0] when /proc/self/exe cannot be read.
TEST_F(FilesTest, ProgramInfoFromTheExecutableLinkOrArgv0) {
    const fs::path exe = temp_.path() / "exe";
    fs::create_symlink("/opt/somnar/somnar-scheduler (deleted)", exe);
    const LinuxProgramInfo replaced("argv0", exe);
    EXPECT_EQ(replaced.programName(), "somnar-scheduler");
    EXPECT_EQ(replaced.executableExtension(), "");
    EXPECT_EQ(replaced.programFolder(), "/opt/somnar");
    const LinuxProgramInfo aOut("./build/a.tar.out", temp_.path() / "no-link");
    EXPECT_EQ(aOut.programName(), "a.tar");
    EXPECT_EQ(aOut.executableExtension(), ".out");
    EXPECT_EQ(LinuxProgramInfo("/home/anna/.hidden", "/no-link").programName(), ".hidden");
    const LinuxProgramInfo running("/somewhere/else/other-name");
    EXPECT_EQ(running.programName(), "backend_tests");
    EXPECT_EQ(running.programFolder(), fs::read_symlink("/proc/self/exe").parent_path().string());
    const fs::path before = fs::current_path();
    fs::current_path(temp_.path());
    EXPECT_EQ(running.currentFolder(), fs::canonical(temp_.path()).string());
    fs::current_path(before);
}

}  // namespace
}  // namespace somnar
