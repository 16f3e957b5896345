#include "platform/linux/linux_program_starter.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The command lines name files in a fresh folder by "$T" (written so also into scripts);
// each started program writes one line to "$T/marker".
struct StartCase {
    const char* name;
    std::string line;
    std::string marker;  // the line the program wrote; empty: nothing may be started
    StartError error = StartError::None;
    std::string detail = {};
};
void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.name;
}

const StartCase kCases[] = {
    {"PathWithBlanksIsOneProgram", "  $T/meine Programme/nach dem Wecken\t", "0 Argumente\n"},
    {"ShellScriptWithoutExecuteBitRunsThroughSh", "$T/wecken.sh", "$T/wecken.sh\n"},
    {"InterpreterLineWithItsArgument", "$T/wecken.py eins", "python 2\n"},
    {"ArgumentsSplitAsTheShellSplits",
     "/bin/sh -c 'echo \"$1|$2\" > $T/marker' sh \"zwei Worte\" drei", "zwei Worte|drei\n"},
    {"LookedUpInPathWithVariables", "sh -c 'echo \"$0\" > \"$0\"' $SOMNAR_MARKER", "$T/marker\n"},
    {"NothingGiven", " \t ", "", StartError::NoProgram},
    {"Redirection", "/bin/echo hallo > $T/marker", "", StartError::NeedsShell},
    {"CommandSubstitution", "/bin/echo $(id)", "", StartError::NeedsShell},
    {"QuoteLeftOpen", "/bin/sh -c 'echo hallo", "", StartError::Unreadable,
     "/bin/sh -c 'echo hallo"},
    {"UnknownProgram", "kein-solches-programm --hilfe", "", StartError::NotFound,
     "kein-solches-programm"},
    {"MissingFileWithArguments", "$T/fehlt/programm --jetzt", "", StartError::NoSuchFile,
     "$T/fehlt/programm"},
    {"TextFile", "$T/notizen.txt", "", StartError::NotExecutable, "$T/notizen.txt"},
    {"InterpreterMissing", "$T/kaputt", "", StartError::Failed, "$T/kaputt"},
};

class ProgramStarterTest : public ::testing::TestWithParam<StartCase> {
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

TEST_P(ProgramStarterTest, StartsOrSaysWhyNot) {
    const StartCase& c = GetParam();
    const StartResult result = starter_.startDetached(withFolder(c.line));
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.detail, withFolder(c.detail));
    if (c.marker.empty()) {
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(fs::exists(marker_));
    } else {
        EXPECT_EQ(awaitMarker(), withFolder(c.marker));
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ProgramStarterTest, ::testing::ValuesIn(kCases), test::ByName());

TEST_F(ProgramStarterTest, StartedProgramIsNeitherOurChildNorInOurSession) {
    // The program reads its parent and session (fields 4 and 6) from /proc.
    ASSERT_TRUE(starter_
                    .startDetached("/bin/sh -c 'sleep 0.3; cut -d\" \" -f4,6 /proc/$$/stat > " +
                                   marker_.string() + "'")
                    .ok());
    std::istringstream fields(awaitMarker());
    pid_t parent = 0;
    pid_t session = 0;
    ASSERT_TRUE(fields >> parent >> session);
    EXPECT_NE(parent, ::getpid());
    EXPECT_NE(session, ::getsid(0));
}

}  // namespace
}  // namespace somnar
