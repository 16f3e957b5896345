// The registry store, the single-copy guard, the program start and the power facts
// against what Windows (here Wine) really does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "backends_win32/temp_folder.h"
#include "platform/win32/mutex_instance_guard.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_program_starter.h"
#include "platform/win32/windows_system_facts.h"

#include <sddl.h>

namespace somnar {
namespace {

using testing::bytesOf;
using testing::TempFolder;
using testing::writeBytes;

// A key of its own under HKEY_CURRENT_USER, removed at the end.
struct RegistryTest : ::testing::Test {
    const std::wstring base = L"Software\\Somnar Tests " + std::to_wstring(::GetCurrentProcessId());
    RegistrySettingsStore store{HKEY_CURRENT_USER, "HKEY_CURRENT_USER", base};

    ~RegistryTest() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }

    // The value as the registry holds it: its type and its UTF-16 text.
    std::pair<DWORD, std::wstring> raw(const std::wstring& key, const std::wstring& name) {
        DWORD type = 0;
        wchar_t text[64] = {};
        DWORD size = sizeof text;
        ::RegGetValueW(HKEY_CURRENT_USER, (base + L"\\" + key).c_str(), name.c_str(), RRF_RT_ANY,
                       &type, text, &size);
        return {type, text};
    }
};

TEST_F(RegistryTest, ValuesRoundTripAsTextAndAFailedWriteIsReported) {
    EXPECT_EQ(store.read("VidOru FTP", "Values", "User"), "");
    ASSERT_TRUE(store.write("VidOru FTP", "Values", "User", "Müller €"));
    ASSERT_TRUE(store.writeValues("Verbindung", "Values", {{"Name", "Arcor"}, {"Password", ""}}));
    EXPECT_EQ(store.read("VidOru FTP", "Values", "User"), "Müller €");
    EXPECT_EQ(raw(L"VidOru FTP\\Values", L"User"),
              std::make_pair(DWORD{REG_SZ}, std::wstring(L"M\u00fcller \u20ac")));
    EXPECT_EQ(raw(L"Verbindung\\Values", L"Password"),
              std::make_pair(DWORD{REG_SZ}, std::wstring()));
    EXPECT_EQ(store.read("Verbindung", "Values", "Name"), "Arcor");
    EXPECT_EQ(store.location("Verbindung"),
              "HKEY_CURRENT_USER\\" + win32::narrow(base) + "\\Verbindung");

    // The key's rules now deny everyone the setting of values (KW) and allow all else.
    PSECURITY_DESCRIPTOR rules = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(D;;KW;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &rules, nullptr));
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, (base + L"\\Verbindung\\Values").c_str(), 0, WRITE_DAC,
                    &key);
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rules), ERROR_SUCCESS);
    ::LocalFree(rules);
    ::RegCloseKey(key);
    EXPECT_FALSE(store.writeValues("Verbindung", "Values", {{"Name", "Handy"}, {"User", "u"}}));
    EXPECT_EQ(store.read("Verbindung", "Values", "Name"), "Arcor");
    EXPECT_FALSE(store.write("a\\b", "Values", "Name", "x"));
}

TEST(MutexInstanceGuardTest, ASecondCopyIsRefusedUntilTheFirstEnds) {
    const std::string name = "Local\\Somnar Test " + std::to_string(::GetCurrentProcessId());
    auto first = std::make_unique<MutexInstanceGuard>(name);
    MutexInstanceGuard second(name);
    EXPECT_TRUE(first->acquire());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(MutexInstanceGuard(name).acquire());
}

TEST(WindowsProgramStarterTest, ABatchFileInAFolderWithABlankRunsAndFailuresSayWhy) {
    const TempFolder folder;
    const std::string script = (folder / "write it.bat").string();
    writeBytes(script, "@echo [%1]> \"%~dp0out.txt\"\r\n");
    const std::pair<std::string, std::string> starts[] = {
        {script, "[]"},  // the whole line is the file: no arguments
        {"\"" + script + "\" quoted", "[quoted]"},
        {script + " unquoted", "[unquoted]"},
    };
    WindowsProgramStarter starter;
    for (const auto& [line, written] : starts) {
        std::filesystem::remove(folder / "out.txt");
        const StartResult result = starter.startDetached(line);
        EXPECT_TRUE(result.ok()) << line << ": " << result.systemError;
        for (int i = 0; i < 100 && bytesOf(folder / "out.txt").find('\n') == std::string::npos;
             ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(bytesOf(folder / "out.txt"), written + "\r\n") << line;
    }
    const std::string missing = (folder / "missing.exe").string();
    const std::tuple<std::string, StartError, std::string, std::string> failures[] = {
        {"  ", StartError::NoProgram, "", ""},
        {"\"C:\\Program Files\\x.exe /a", StartError::Unreadable, "\"C:\\Program Files\\x.exe /a",
         ""},
        {missing + " /a", StartError::NoSuchFile, missing, "(2)"},
        {"somnar-nowhere /a", StartError::NotFound, "somnar-nowhere", "(2)"},
    };
    for (const auto& [line, error, detail, number] : failures) {
        const StartResult result = starter.startDetached(line);
        EXPECT_EQ(result.error, error) << line;
        EXPECT_EQ(result.detail, detail) << line;
        EXPECT_TRUE(result.systemError.ends_with(number)) << result.systemError;
        EXPECT_EQ(result.systemError.size() > number.size() + 1, !number.empty()) << "words";
    }
}

// What Wine tells: S4 with its file, no S3, and no power plan to read.
TEST(WindowsSystemFactsTest, WineTellsTheCapabilitiesButNotThePowerPlan) {
    WindowsSystemFacts facts;
    const auto caps = facts.capabilities();
    ASSERT_TRUE(caps.has_value());
    EXPECT_TRUE(caps->hibernation && caps->hibernationFile && !caps->standby);
    EXPECT_EQ(facts.wakeTimers(PowerSource::Mains), WakeTimers::Unknown);
}

}  // namespace
}  // namespace somnar
