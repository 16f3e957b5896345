#include "platform/linux/linux_program_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

TEST(ProgramInfoTest, NamesTheRunningTestProgram) {
    const LinuxProgramInfo info("/somewhere/else/not-this-name.bin");
    EXPECT_EQ(info.programName(), "backend_tests");
    EXPECT_EQ(info.executableExtension(), "");
}

class ProgramInfoLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir_.path().empty()); }

    // A stand-in for /proc/self/exe pointing at target.
    fs::path linkTo(const std::string& target) {
        fs::path link = dir_.path() / "exe";
        fs::create_symlink(target, link);
        return link;
    }

    test::TempDir dir_;
};

TEST_F(ProgramInfoLinkTest, UsesArgv0WhenTheLinkCannotBeRead) {
    const fs::path missing = dir_.path() / "no-link";
    EXPECT_EQ(LinuxProgramInfo("/usr/bin/somnar-scheduler", missing).programName(),
              "somnar-scheduler");
    EXPECT_EQ(LinuxProgramInfo("/usr/bin/somnar-scheduler", missing).executableExtension(), "");

    const LinuxProgramInfo aOut("./build/a.out", missing);
    EXPECT_EQ(aOut.programName(), "a");
    EXPECT_EQ(aOut.executableExtension(), ".out");
}

TEST_F(ProgramInfoLinkTest, ExecutableReplacedWhileRunningKeepsItsName) {
    const LinuxProgramInfo info("argv0", linkTo("/opt/somnar/somnar-scheduler (deleted)"));
    EXPECT_EQ(info.programName(), "somnar-scheduler");
    EXPECT_EQ(info.executableExtension(), "");
}

TEST_F(ProgramInfoLinkTest, ExtensionIsThePartAfterTheLastDot) {
    const LinuxProgramInfo twoDots("", linkTo("/opt/somnar/scheduler.tar.gz"));
    EXPECT_EQ(twoDots.programName(), "scheduler.tar");
    EXPECT_EQ(twoDots.executableExtension(), ".gz");

    const LinuxProgramInfo hidden("/home/anna/.scheduler", dir_.path() / "no-link");
    EXPECT_EQ(hidden.programName(), ".scheduler");
    EXPECT_EQ(hidden.executableExtension(), "");
}

}  // namespace
}  // namespace somnar

namespace somnar {
namespace {

TEST_F(ProgramInfoLinkTest, FolderOfTheExecutableAlsoWhenItWasReplaced) {
    EXPECT_EQ(
        LinuxProgramInfo("argv0", linkTo("/opt/somnar/somnar-scheduler (deleted)")).programFolder(),
        "/opt/somnar");
    const LinuxProgramInfo running;
    EXPECT_EQ(running.programFolder(), fs::read_symlink("/proc/self/exe").parent_path().string());
}

TEST(ProgramInfoTest, CurrentFolderIsTheWorkingFolder) {
    test::TempDir dir;
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const std::string seen = LinuxProgramInfo().currentFolder();
    fs::current_path(before);
    EXPECT_EQ(seen, fs::canonical(dir.path()).string());
}

}  // namespace
}  // namespace somnar
