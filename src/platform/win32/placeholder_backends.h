#pragma once

// Stand-ins for the seams whose Windows backends are not part of this program yet. Each
// does the least that is honest: it stores, dials, uploads and wakes nothing and says
// so through the seam's result, so the window runs and tells the user what failed.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/win32/responsive_call.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <powrprof.h>

namespace somnar::win32::placeholder {

// The local wall clock of Windows with a plain dd.MM.yyyy HH:mm:ss text.
class LocalClock final : public Clock {
  public:
    LocalDateTime now() const override {
        SYSTEMTIME t{};
        ::GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
    std::string generalDateTimeText(const LocalDateTime& m) const override {
        char text[32];
        if (m.hour == 0 && m.minute == 0 && m.second == 0) {
            std::snprintf(text, sizeof text, "%02d.%02d.%04d", m.day, m.month, m.year);
        } else {
            std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", m.day, m.month,
                          m.year, m.hour, m.minute, m.second);
        }
        return text;
    }
    std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& m) const override {
        const SYSTEMTIME local{static_cast<WORD>(m.year),
                               static_cast<WORD>(m.month),
                               0,
                               static_cast<WORD>(m.day),
                               static_cast<WORD>(m.hour),
                               static_cast<WORD>(m.minute),
                               static_cast<WORD>(m.second),
                               0};
        SYSTEMTIME utc{};
        if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) {
            return std::nullopt;
        }
        using namespace std::chrono;
        return sys_days(year(utc.wYear) / utc.wMonth / utc.wDay) + hours(utc.wHour) +
               minutes(utc.wMinute) + seconds(utc.wSecond);
    }
    std::chrono::milliseconds monotonic() const override {
        return std::chrono::milliseconds(::GetTickCount64());
    }
    std::chrono::sys_time<std::chrono::milliseconds> utcNow() const override {
        return std::chrono::time_point_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now());
    }
};

// The running .exe's own name and folder.
class ModuleProgramInfo final : public ProgramInfo {
  public:
    std::string programName() const override { return narrow(path().stem().wstring()); }
    std::string executableExtension() const override { return ".exe"; }
    std::string currentFolder() const override {
        return narrow(std::filesystem::current_path().wstring());
    }
    std::string programFolder() const override { return narrow(path().parent_path().wstring()); }

  private:
    static std::filesystem::path path() {
        std::wstring buffer(32768, L'\0');
        buffer.resize(
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
        return buffer;
    }
};

// Lets every copy run.
class AnyInstance final : public InstanceGuard {
  public:
    bool acquire() override { return true; }
};

// Tells which states Windows allows; sends the machine nowhere.
class AskingPowerManager final : public PowerManager {
  public:
    bool canHibernate() override { return ::IsPwrHibernateAllowed() != FALSE; }
    bool canSuspend() override { return ::IsPwrSuspendAllowed() != FALSE; }
    std::optional<std::string> sleepAnswer(SleepState) override { return std::nullopt; }
    SleepResult sleep(SleepState, const std::function<void()>&) override {
        return {SleepOutcome::NoService, "", std::nullopt, WakeNotice::NoneInTime};
    }
    void keepAwake() override {}
};

class NoDialer final : public Dialer {
  public:
    std::vector<std::string> listEntries() override { return {}; }
    DialResult dial(const std::string& name, const std::string&, const std::string&) override {
        return {DialError::UnknownName, name, ""};
    }
};

class NoSettings final : public SettingsStore {
  public:
    std::string read(std::string_view, std::string_view, std::string_view) override { return {}; }
    bool write(std::string_view, std::string_view, std::string_view, std::string_view) override {
        return false;
    }
    bool writeValues(std::string_view, std::string_view,
                     const std::vector<std::pair<std::string, std::string>>&) override {
        return false;
    }
    std::string location(std::string_view application) const override {
        return std::string(application);
    }
};

class NoWakeAlarm final : public WakeAlarm {
  public:
    AlarmResult arm(SleepState, std::chrono::sys_seconds) override {
        AlarmResult result;
        result.error = AlarmError::NoAlarmClock;
        return result;
    }
};

class NoProgramStarter final : public ProgramStarter {
  public:
    StartResult startDetached(const std::string& commandLine) override {
        return {StartError::Failed, commandLine, ""};
    }
};

class NeverConnected final : public Connectivity {
  public:
    bool isConnected() override { return false; }
};

class NoHostAddress final : public HostAddress {
  public:
    HostNameResult hostName() override { return {std::nullopt, 1}; }
    std::vector<Ipv4Address> resolveIpv4(const std::string&) override { return {}; }
    std::vector<Ipv4Address> interfaceIpv4() override { return {}; }
};

class NoFiles final : public Files {
  public:
    bool folderWritable(const std::string&) override { return false; }
    std::string dataFolder() override { return {}; }
    bool writeSingleByteText(const std::string&, const std::string&) override { return false; }
};

class NoFtp final : public FtpClient {
  public:
    FtpResult open(const std::string&) override { return {false, 1}; }
    FtpResult connect(const std::string&, const std::string&, const std::string&, bool) override {
        return {false, 1};
    }
    FtpResult changeDirectory(const std::string&) override { return {false, 1}; }
    FtpResult putFile(const std::string&, const std::string&) override { return {false, 1}; }
    void disconnect() override {}
};

class NoLog final : public Log {
  public:
    void write(LogLevel, const std::string&) override {}
};

}  // namespace somnar::win32::placeholder
