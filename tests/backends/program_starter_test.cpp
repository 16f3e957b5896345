#include "platform/linux/linux_program_starter.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text, fs::perms mode) {
    std::ofstream(file) << text;
    fs::permissions(file, mode);
}

constexpr fs::perms kExecutable = fs::perms::owner_all | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read |
                                  fs::perms::others_exec;
constexpr fs::perms kReadable =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

class ProgramStarterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }

    // What the started program wrote into the marker file, once it holds a full line;
    // whatever it holds after 10 s otherwise.
    std::string awaitMarker() const {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        std::string text;
        while (std::chrono::steady_clock::now() < deadline) {
            text = contentOf(marker_);
            if (!text.empty() && text.back() == '\n') {
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return text;
    }

    test::TempDir temp_;
    fs::path marker_ = temp_.path() / "marker";
    LinuxProgramStarter starter_;
};

TEST_F(ProgramStarterTest, PathWithBlanksIsOneProgramWithoutArguments) {
    fs::create_directory(temp_.path() / "meine Programme");
    const fs::path script = temp_.path() / "meine Programme" / "nach dem Wecken";
    writeFile(script, "#!/bin/sh\necho \"$# Argumente\" > '" + marker_.string() + "'\n",
              kExecutable);

    const StartResult result = starter_.startDetached("  " + script.string() + "\t");
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.reason, "");
    EXPECT_EQ(awaitMarker(), "0 Argumente\n");
}

TEST_F(ProgramStarterTest, ShellScriptWithoutExecutePermissionRunsThroughSh) {
    const fs::path script = temp_.path() / "wecken.sh";
    writeFile(script, "echo \"$0\" > '" + marker_.string() + "'\n", kReadable);

    const StartResult result = starter_.startDetached(script.string());
    EXPECT_TRUE(result.started) << result.reason;
    EXPECT_EQ(awaitMarker(), script.string() + "\n");
}

TEST_F(ProgramStarterTest, ScriptWithoutExecutePermissionRunsThroughItsInterpreterLine) {
    // Not sh: the line names its interpreter and one argument to it.
    const fs::path script = temp_.path() / "wecken";
    writeFile(script,
              "#!/usr/bin/python3 -S\nimport sys\nopen(sys.argv[1], 'w').write('python ' + "
              "str(len(sys.argv)) + '\\n')\n",
              kReadable);

    const StartResult result = starter_.startDetached(script.string() + " " + marker_.string());
    EXPECT_TRUE(result.started) << result.reason;
    EXPECT_EQ(awaitMarker(), "python 2\n");
}

TEST_F(ProgramStarterTest, OtherFileWithoutExecutePermissionIsRefused) {
    const fs::path notes = temp_.path() / "notizen.txt";
    writeFile(notes, "echo nein > '" + marker_.string() + "'\n", kReadable);

    const StartResult result = starter_.startDetached(notes.string());
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.reason, notes.string() + " ist nicht ausführbar.");

    const StartResult folder = starter_.startDetached(temp_.path().string());
    EXPECT_FALSE(folder.started);
    EXPECT_EQ(folder.reason, temp_.path().string() + " ist nicht ausführbar.");
}

TEST_F(ProgramStarterTest, MissingFileIsRefused) {
    const fs::path missing = temp_.path() / "fehlt" / "programm";
    const StartResult alone = starter_.startDetached(missing.string());
    EXPECT_FALSE(alone.started);
    EXPECT_EQ(alone.reason, "Die Datei " + missing.string() + " gibt es nicht.");

    const StartResult withArguments = starter_.startDetached(missing.string() + " --jetzt");
    EXPECT_FALSE(withArguments.started);
    EXPECT_EQ(withArguments.reason, "Die Datei " + missing.string() + " gibt es nicht.");
}

TEST_F(ProgramStarterTest, ArgumentsAreSplitAsAShellSplitsThem) {
    const StartResult result = starter_.startDetached(
        "/bin/sh -c 'echo \"$1|$2\" > " + marker_.string() + "' sh \"zwei Worte\" drei");
    EXPECT_TRUE(result.started) << result.reason;
    EXPECT_EQ(awaitMarker(), "zwei Worte|drei\n");
}

TEST_F(ProgramStarterTest, ProgramWithoutFolderIsLookedUpInPath) {
    const StartResult found =
        starter_.startDetached("sh -c 'echo gefunden > " + marker_.string() + "'");
    EXPECT_TRUE(found.started) << found.reason;
    EXPECT_EQ(awaitMarker(), "gefunden\n");

    const StartResult unknown = starter_.startDetached("kein-solches-programm --hilfe");
    EXPECT_FALSE(unknown.started);
    EXPECT_EQ(unknown.reason, "Das Programm kein-solches-programm wurde nicht gefunden.");
}

TEST_F(ProgramStarterTest, VariablesAreExpandedAsInTheShell) {
    const test::ScopedEnv variable("SOMNAR_MARKER", marker_.string());
    const StartResult result =
        starter_.startDetached("/bin/sh -c 'echo \"$0\" > \"$0\"' $SOMNAR_MARKER");
    EXPECT_TRUE(result.started) << result.reason;
    EXPECT_EQ(awaitMarker(), marker_.string() + "\n");
}

TEST_F(ProgramStarterTest, LineThatNeedsAShellIsRefused) {
    for (const std::string& line :
         {"/bin/echo hallo > " + marker_.string(), std::string("/bin/echo $(id)"),
          std::string("/bin/echo a | /bin/cat")}) {
        const StartResult result = starter_.startDetached(line);
        EXPECT_FALSE(result.started) << line;
        EXPECT_EQ(result.reason,
                  "Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) "
                  "{ } oder $( )); solche Befehle so angeben: /bin/sh -c '...'")
            << line;
    }
    EXPECT_FALSE(fs::exists(marker_));

    const StartResult unbalanced = starter_.startDetached("/bin/sh -c 'echo hallo");
    EXPECT_FALSE(unbalanced.started);
    EXPECT_EQ(unbalanced.reason,
              "Die Befehlszeile lässt sich nicht lesen (fehlt ein Anführungszeichen?): /bin/sh "
              "-c 'echo hallo");
}

TEST_F(ProgramStarterTest, InterpreterThatCannotStartIsReported) {
    const fs::path script = temp_.path() / "kaputt";
    writeFile(script, "#!" + (temp_.path() / "kein-interpreter").string() + "\n", kReadable);

    const StartResult result = starter_.startDetached(script.string());
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.reason, "Das Programm " + script.string() + " konnte nicht gestartet werden.");
}

TEST_F(ProgramStarterTest, EmptyLineStartsNothing) {
    for (const std::string line : {"", "   \t ", "\"\""}) {
        const StartResult result = starter_.startDetached(line);
        EXPECT_FALSE(result.started) << line;
        EXPECT_EQ(result.reason, "Es ist kein Programm angegeben.") << line;
    }
}

TEST_F(ProgramStarterTest, StartedProgramIsNeitherOurChildNorInOurSession) {
    // Once started, the program reads its parent and session (fields 4 and 6) from /proc.
    const StartResult result = starter_.startDetached(
        "/bin/sh -c 'sleep 0.3; cut -d\" \" -f4,6 /proc/$$/stat > " + marker_.string() + "'");
    ASSERT_TRUE(result.started) << result.reason;
    std::istringstream fields(awaitMarker());
    pid_t parent = 0;
    pid_t session = 0;
    ASSERT_TRUE(fields >> parent >> session);
    EXPECT_NE(parent, ::getpid());
    EXPECT_NE(session, ::getsid(0));
}

}  // namespace
}  // namespace somnar
