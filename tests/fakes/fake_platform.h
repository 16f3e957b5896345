#pragma once

// Fakes of the platform seams: they record what the logic asked and answer from a
// script. FakePlatform bundles one of each and hands them out as Services.

#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/services.h"

namespace somnar::testing {

class FakeClock : public Clock {
  public:
    LocalDateTime moment{2026, 12, 6, 10, 0, 0};

    LocalDateTime now() const override { return moment; }
    // German form: 06.12.2026 07:15:42, the date alone at midnight.
    std::string generalDateTimeText(const LocalDateTime& at) const override;

    void set(int year, int month, int day, int hour, int minute, int second = 0) {
        moment = {year, month, day, hour, minute, second};
    }
};

class FakeDialogs : public Dialogs {
  public:
    std::vector<MessageBox> shown;
    // Answers in order; when none is left, the first button of the box.
    std::deque<MessageAnswer> answers;

    MessageAnswer showMessage(const MessageBox& box) override;
};

class FakeDesktop : public Desktop {
  public:
    int widthTwips = 1920 * 15;
    int heightTwips = 1080 * 15;

    int screenWidthTwips() const override { return widthTwips; }
    int screenHeightTwips() const override { return heightTwips; }
};

class FakeProgramInfo : public ProgramInfo {
  public:
    std::string name = "somnar-scheduler";
    std::string extension;

    std::string programName() const override { return name; }
    std::string executableExtension() const override { return extension; }
};

class FakeInstanceGuard : public InstanceGuard {
  public:
    bool otherCopyRunning = false;
    int calls = 0;

    bool acquire() override {
        ++calls;
        return !otherCopyRunning;
    }
};

class FakePowerManager : public PowerManager {
  public:
    bool hibernate = true;
    bool suspend = true;

    bool canHibernate() override { return hibernate; }
    bool canSuspend() override { return suspend; }
};

class FakeDialer : public Dialer {
  public:
    std::vector<std::string> entries;

    std::vector<std::string> listEntries() override { return entries; }
};

class FakeSettingsStore : public SettingsStore {
  public:
    using Address = std::tuple<std::string, std::string, std::string>;
    std::map<Address, std::string> values;
    std::vector<Address> reads;
    std::vector<Address> writes;
    bool failWrites = false;

    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    bool write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override;

    void store(std::string_view application, std::string_view key, std::string_view value) {
        values[{std::string(application), "Values", std::string(key)}] = value;
    }
    std::string stored(std::string_view application, std::string_view key) const;
};

class FakeTrayIcon : public TrayIcon {
  public:
    std::vector<std::string> calls;
    std::string tip;

    void prepare(const std::string& text) override {
        tip = text;
        calls.push_back("prepare");
    }
    void add() override { calls.push_back("add"); }
    void remove() override { calls.push_back("remove"); }
};

struct FakePlatform {
    FakeClock clock;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeProgramInfo program;
    FakeInstanceGuard instance;
    FakePowerManager power;
    FakeDialer dialer;
    FakeSettingsStore settings;
    FakeTrayIcon tray;

    Services services{clock, dialogs, desktop, program, instance, power, dialer, settings, tray};
};

}  // namespace somnar::testing
