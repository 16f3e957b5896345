#include "platform/linux/linux_program_starter.h"

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The command lines name files in a fresh folder by "$T" (written so also into scripts);
// each started program writes one line to "$T/marker".
struct StartCase {
    std::string line;
    std::string marker;  // the line the program wrote; empty: nothing may be started
    StartError error = StartError::None;
    std::string detail = {};
};

const StartCase kCases[] = {
    {"  $T/meine Programme/nach dem Wecken\t", "0 Argumente\n"},  // one program with blanks
    {"$T/wecken.sh", "$T/wecken.sh\n"},   // a shell script without execute bit, through sh
    {"$T/wecken.py eins", "python 2\n"},  // its interpreter line with its argument
    {"/bin/sh -c 'echo \"$1|$2\" > $T/marker' sh \"zwei Worte\" drei", "zwei Worte|drei\n"},
    {"sh -c 'echo \"$0\" > \"$0\"' $SOMNAR_MARKER", "$T/marker\n"},  // PATH and variables
    {" \t ", "", StartError::NoProgram},
    {"/bin/echo hallo > $T/marker", "", StartError::NeedsShell},
    {"/bin/echo $(id)", "", StartError::NeedsShell},
    {"/bin/sh -c 'echo hallo", "", StartError::Unreadable, "/bin/sh -c 'echo hallo"},
    {"kein-solches-programm --hilfe", "", StartError::NotFound, "kein-solches-programm"},
    {"$T/fehlt/programm --jetzt", "", StartError::NoSuchFile, "$T/fehlt/programm"},
    {"$T/notizen.txt", "", StartError::NotExecutable, "$T/notizen.txt"},
    {"$T/kaputt", "", StartError::Failed, "$T/kaputt"},  // its interpreter is missing
};

class ProgramStarterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(folder_ / "meine Programme");
        script("meine Programme/nach dem Wecken",
               "#!/bin/sh\necho \"$# Argumente\" > '$T/marker'\n", 0755);
        script("wecken.sh", "echo \"$0\" > '$T/marker'\n", 0644);
        script("wecken.py",
               "#!/usr/bin/python3 -S\nimport sys\nopen('$T/marker', 'w').write('python ' + "
               "str(len(sys.argv)) + '\\n')\n",
               0644);
        script("notizen.txt", "echo nein > '$T/marker'\n", 0644);
        script("kaputt", "#!$T/kein-interpreter\n", 0644);
    }

    std::string withFolder(std::string text) const {
        for (std::size_t at; (at = text.find("$T")) != std::string::npos;) {
            text.replace(at, 2, folder_.string());
        }
        return text;
    }
    void script(const std::string& name, const std::string& text, int mode) const {
        test::writeFile(folder_ / name, withFolder(text));
        fs::permissions(folder_ / name, fs::perms(mode));
    }
    // What the started program wrote, once it holds a full line (at most 10 s).
    std::string awaitMarker() const {
        for (int i = 0; i < 500 && !test::contentOf(marker_).ends_with('\n'); ++i) {
            std::this_thread::sleep_for(20ms);
        }
        return test::contentOf(marker_);
    }

    test::TempDir temp_;
    fs::path folder_ = temp_.path();
    fs::path marker_ = folder_ / "marker";
    test::ScopedEnv variable_{"SOMNAR_MARKER", marker_.string()};
    LinuxProgramStarter starter_;
};

TEST_F(ProgramStarterTest, StartsOrSaysWhyNot) {
    for (const StartCase& c : kCases) {
        fs::remove(marker_);
        const StartResult result = starter_.startDetached(withFolder(c.line));
        EXPECT_EQ(result.error, c.error) << c.line;
        EXPECT_EQ(result.detail, withFolder(c.detail));
        if (c.marker.empty()) {
            std::this_thread::sleep_for(100ms);
            EXPECT_FALSE(fs::exists(marker_)) << c.line;
        } else {
            EXPECT_EQ(awaitMarker(), withFolder(c.marker));
        }
    }
}

}  // namespace
}  // namespace somnar
