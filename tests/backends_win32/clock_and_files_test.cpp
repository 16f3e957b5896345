// The clock, ip.html's bytes and the log against what Windows (here Wine) really does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "backends_win32/temp_folder.h"
#include "platform/win32/file_log.h"
#include "platform/win32/windows_clock.h"
#include "platform/win32/windows_files.h"
#include "platform/win32/windows_program_info.h"

namespace somnar {
namespace {

using namespace std::chrono;
using testing::bytesOf;
using ::testing::MatchesRegex;
using testing::TempFolder;
using testing::writeBytes;

// The text with each digit an "N": the moment of a log line is not the test's to know.
std::string digitsAsN(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }, 'N');
    return text;
}

// The program field's sample lies on the user's own desktop; the check is named by the
// console program's full path, as it is not on PATH.
TEST(WindowsProgramInfoTest, TheSampleIsOnTheUsersDesktopAndTheCheckNamesTheConsoleProgram) {
    const WindowsProgramInfo program;
    const std::string profile = std::getenv("USERPROFILE");  // C:\users\<name> under Wine
    EXPECT_EQ(program.sampleProgram(), profile + "\\Desktop\\Aufwachen-Ruhe\\aufwachen.bat");
    EXPECT_EQ(program.checkCommand(),
              "\"" + program.programFolder() + "\\win32_backend_tests.com\" --check");
    EXPECT_EQ(program.programFolder().find('/'), std::string::npos);
}

// Run with TZ=Europe/Berlin, as scripts/test-windows does.
TEST(WindowsClockTest, BerlinTimesOf2026BecomeUtcByTheirOwnDateAndReadAsGermanText) {
    const WindowsClock clock;
    const std::pair<LocalDateTime, sys_seconds> cases[] = {
        {{2026, 1, 10, 8, 15, 0}, sys_days{2026y / 1 / 10} + 7h + 15min},
        {{2026, 7, 15, 12, 0, 0}, sys_days{2026y / 7 / 15} + 10h},
        {{2026, 3, 29, 2, 30, 0}, sys_days{2026y / 3 / 29} + 1h + 30min},  // skipped
        {{2026, 10, 25, 2, 30, 0}, sys_days{2026y / 10 / 25} + 30min},     // repeated: the first
    };
    for (const auto& [local, utc] : cases) {
        EXPECT_EQ(clock.localToUtc(local), utc) << local.month << "/" << local.hour;
    }
    // Windows writes the day with its leading zero where Wine leaves it out.
    EXPECT_THAT(clock.generalDateTimeText({2026, 12, 6, 7, 5, 9}),
                MatchesRegex("0?6\\.12\\.2026 07:05:09"));
    EXPECT_THAT(clock.generalDateTimeText({2026, 12, 6, 0, 0, 0}), MatchesRegex("0?6\\.12\\.2026"));
    const auto now = clock.localToUtc(clock.now());
    ASSERT_TRUE(now.has_value());
    EXPECT_LE(abs(*now - floor<seconds>(clock.utcNow())), 2s);
    const milliseconds before = clock.monotonic();
    ::Sleep(50);  // Wine counts the interrupt time in steps of about 16 ms
    EXPECT_GE(clock.monotonic() - before, 30ms);
}

TEST(WindowsFilesTest, TextIsWrittenInWindows1252AndAFailedWriteKeepsTheOldFile) {
    WindowsFiles files;
    const TempFolder folder;
    const std::string target = (folder / "ip.html").string();
    // "ü" composed and as u + U+0308, "€", a letter and a sign beyond the code page.
    ASSERT_TRUE(files.writeSingleByteText(
        target, "<HTML>\r\nM\xC3\xBCller u\xCC\x88 \xE2\x82\xAC \xC4\x81 \xF0\x9F\x8C\x99\r\n"));
    EXPECT_EQ(bytesOf(target), "<HTML>\r\nM\xFCller \xFC \x80 ? ?\r\n");
    {
        // Held open without sharing by another program: the new file cannot take its name.
        const HANDLE held = ::CreateFileW(folder.path.wstring().append(L"\\ip.html").c_str(),
                                          GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(files.writeSingleByteText(target, "neu"));
        ::CloseHandle(held);
    }
    EXPECT_EQ(bytesOf(target), "<HTML>\r\nM\xFCller \xFC \x80 ? ?\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1);
    EXPECT_TRUE(files.folderWritable(folder.path.string()));
    EXPECT_FALSE(files.folderWritable((folder / "missing").string()));
    EXPECT_THAT(files.dataFolder(), MatchesRegex(".*\\\\Somnar Scheduler"));
    EXPECT_TRUE(std::filesystem::is_directory(files.dataFolder()));
}

TEST(FileLogTest, EntriesAreLinesWithTimeAndLevelAndABigFileStartsAgain) {
    const TempFolder folder;
    FileLog log((folder / "logs\\somnar-scheduler.log").wstring());
    log.write(LogLevel::Warning, "Kein Netz für\r\nip.html");
    log.write(LogLevel::Error, "zwei");
    EXPECT_EQ(digitsAsN(bytesOf(log.file())),
              "NNNN-NN-NN NN:NN:NN warning Kein Netz für  ip.html\r\n"
              "NNNN-NN-NN NN:NN:NN error zwei\r\n");
    writeBytes(log.file(), std::string(FileLog::kLimit + 1, 'x'));
    log.write(LogLevel::Info, "frisch");
    EXPECT_EQ(digitsAsN(bytesOf(log.file())), "NNNN-NN-NN NN:NN:NN info frisch\r\n");
    EXPECT_EQ(bytesOf(log.file() + L".old").size(), FileLog::kLimit + 1);
}

}  // namespace
}  // namespace somnar
