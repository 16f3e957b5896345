#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>

#include "backends/test_environment.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_program_info.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using test::contentOf;

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
    EXPECT_EQ(test::filesIn(temp_.path()), std::vector<std::string>{"ip.html"});
}

// Writable where a file can be made: not for "nobody" in root's folder, nor on a read-only
// mount whose permission bits allow everything; the probe is gone again.
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
    EXPECT_TRUE(test::asNobody([] { return LinuxFiles().folderWritable("/tmp"); }));
    const fs::path mount = temp_.path() / "mount";
    fs::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
        GTEST_SKIP() << "needs the right to mount a tmpfs";
    }
    EXPECT_FALSE(files_.folderWritable(mount.string()));
    ::umount2(mount.c_str(), MNT_DETACH);
}

// Made 0700 with the folders it needs; kept as it is once there.
TEST_F(FilesTest, DataFolderIsMadePrivateUnderXdgDataHomeOrHome) {
    const fs::path dataHome = temp_.path() / "data" / "home";
    {
        const test::ScopedEnv env("XDG_DATA_HOME", dataHome.string());
        EXPECT_EQ(files_.dataFolder(), (dataHome / "somnar-scheduler").string());
        EXPECT_EQ(test::modeOf(dataHome / "somnar-scheduler"), 0700u);
        EXPECT_EQ(test::modeOf(dataHome), 0700u);
        fs::permissions(dataHome / "somnar-scheduler", fs::perms(0750));
        EXPECT_EQ(files_.dataFolder(), (dataHome / "somnar-scheduler").string());
        EXPECT_EQ(test::modeOf(dataHome / "somnar-scheduler"), 0750u);
        test::writeFile(dataHome / "in-the-way", "a file");
        EXPECT_EQ(LinuxFiles("in-the-way").dataFolder(), "");
    }
    const test::ScopedEnv home("HOME", temp_.path().string());
    const test::ScopedEnv noXdg("XDG_DATA_HOME", "");
    EXPECT_EQ(LinuxFiles("other").dataFolder(), (temp_.path() / ".local/share/other").string());
}

// The running program's name, extension and folder, also when its file was replaced while
// it runs; argv[0] when the executable link cannot be read.
TEST_F(FilesTest, ProgramInfoFromTheExecutableLinkOrArgv0) {
    fs::create_symlink("/opt/somnar/somnar-scheduler (deleted)", temp_.path() / "exe");
    const LinuxProgramInfo replaced("argv0", temp_.path() / "exe");
    EXPECT_EQ(replaced.programName(), "somnar-scheduler");
    EXPECT_EQ(replaced.programFolder(), "/opt/somnar");
    const LinuxProgramInfo aOut("./build/a.tar.out", temp_.path() / "no-link");
    EXPECT_EQ(aOut.programName(), "a.tar");
    EXPECT_EQ(aOut.executableExtension(), ".out");
    EXPECT_EQ(LinuxProgramInfo("/somewhere/else").programName(), "backend_tests");
}

}  // namespace
}  // namespace somnar
