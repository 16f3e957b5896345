#pragma once

// Fakes of the platform seams: they record what the logic asked and answer from a
// script. FakePlatform bundles one of each and hands them out as Services.

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/controls.h"
#include "app/window.h"
#include "platform/linux/check/linux_failure_texts.h"
#include "platform/power_policy.h"
#include "platform/services.h"
#include "platform/system_facts.h"

namespace somnar::testing {

// What the fakes were asked to do, in order, across all of them.
using EventLog = std::vector<std::string>;

// A fake that notes its calls in the shared log.
struct Logged {
    explicit Logged(EventLog& log) : log_(log) {}
    EventLog& log_;
};

// A moment given in UTC, for expectations.
std::chrono::sys_seconds utc(int year, int month, int day, int hour, int minute);

// The wall clock in a fixed CET (UTC+1), to the millisecond, and the clock that never
// jumps; advance() moves both.
class FakeClock : public Clock {
  public:
    std::chrono::sys_time<std::chrono::milliseconds> at{utc(2026, 12, 6, 9, 0)};
    std::chrono::milliseconds steady{0};
    LocalDateTime now() const override;
    std::chrono::milliseconds monotonic() const override { return steady; }
    std::chrono::sys_time<std::chrono::milliseconds> utcNow() const override { return at; }
    // German form: 06.12.2026 07:15:42, the date alone at midnight.
    std::string generalDateTimeText(const LocalDateTime& when) const override;
    std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& local) const override {
        return utc(local.year, local.month, local.day, local.hour, local.minute) +
               std::chrono::seconds(local.second - 3600);
    }
    void set(const LocalDateTime& local) { at = *localToUtc(local); }
    void set(int year, int month, int day, int hour, int minute, int second = 0) {
        set({year, month, day, hour, minute, second});
    }
    void advance(std::chrono::milliseconds by) {
        at += by;
        steady += by;
    }
};

class FakeDialogs : public Dialogs {
  public:
    std::vector<MessageBox> shown;
    // Answers in order; when none is left, the first button of the box.
    std::deque<MessageAnswer> answers;
    // Runs while a box is open, as the window system may run timers meanwhile.
    std::function<void(const MessageBox&)> whileOpen;
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
    std::string currentFolder() const override { return "/home/anna"; }
    std::string programFolder() const override { return "/opt/somnar"; }
    std::string programName() const override { return name; }
    std::string executableExtension() const override { return extension; }
    std::string sampleProgram() const override { return "/home/anna/Aufwachen-Ruhe/start.sh"; }
    std::string checkCommand() const override { return "somnar --check"; }
};

class FakeInstanceGuard : public InstanceGuard {
  public:
    bool another = false;  // another copy runs
    bool acquire() override { return !another; }
};

class FakePowerManager : public PowerManager, Logged {
  public:
    using Logged::Logged;
    bool hibernate = true;
    bool suspend = true;
    SleepResult result;
    std::vector<SleepState> sleeps;
    // Runs while the user authorises the request, before the sleep is announced.
    std::function<void()> whileAuthorising;
    // Runs while the machine "sleeps", e.g. to move the clock on.
    std::function<void()> whileAsleep;
    bool canHibernate() override { return hibernate; }
    bool canSuspend() override { return suspend; }
    // Without a scripted answer: "yes" or "no" as the two flags say.
    std::optional<std::string> unreachable;
    std::map<SleepState, std::string> answers;
    std::optional<std::string> sleepAnswer(SleepState state) override {
        if (unreachable) {
            return std::nullopt;
        }
        if (auto found = answers.find(state); found != answers.end()) {
            return found->second;
        }
        return (state == SleepState::Hibernate ? hibernate : suspend) ? "yes" : "no";
    }
    SleepResult sleep(SleepState state, const std::function<void()>& goingDown) override;
    void keepAwake() override { log_.push_back("keep awake"); }
};

class FakeWakeAlarm : public WakeAlarm, Logged {
  public:
    using Logged::Logged;
    AlarmError refuseWith = AlarmError::None;
    std::string refusalDetail;
    struct Armed {
        SleepState state;
        std::chrono::sys_seconds due;
    };
    std::vector<Armed> armed;
    int released = 0;
    AlarmResult arm(SleepState state, std::chrono::sys_seconds due) override;
};

class FakeProgramStarter : public ProgramStarter, Logged {
  public:
    using Logged::Logged;
    StartResult answer{};
    StartResult startDetached(const std::string& commandLine) override {
        log_.push_back("start " + commandLine);
        return answer;
    }
};

class FakeDialer : public Dialer, Logged {
  public:
    using Logged::Logged;
    std::vector<std::string> entries;
    DialResult answer{};
    std::vector<std::vector<std::string>> dialled;  // name, user, password
    std::vector<std::string> listEntries() override { return entries; }
    DialResult dial(const std::string& name, const std::string& user,
                    const std::string& password) override {
        dialled.push_back({name, user, password});
        log_.push_back("dial " + name);
        return answer;
    }
};

class FakeFileDialog : public FileDialog {
  public:
    struct Request {
        std::string title;
        std::string folder;
        std::vector<FileFilter> filters;
    };
    std::vector<Request> requests;
    std::optional<ChosenFile> answer;
    std::optional<ChosenFile> askOpenFileName(const std::string& title, const std::string& folder,
                                              const std::vector<FileFilter>& filters) override {
        requests.push_back({title, folder, filters});
        return answer;
    }
};

class FakeSettingsStore : public SettingsStore {
  public:
    using Address = std::tuple<std::string, std::string, std::string>;
    std::map<Address, std::string> values;
    std::vector<Address> reads;
    bool failWrites = false;
    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    bool write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override {
        if (!failWrites) {
            values[{std::string(application), std::string(section), std::string(key)}] = value;
        }
        return !failWrites;
    }
    bool writeValues(std::string_view application, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override;
    std::string location(std::string_view application) const override {
        return "/home/anna/.config/somnar-scheduler/" + std::string(application) + ".ini";
    }
    void store(std::string_view application, std::string_view key, std::string_view value) {
        values[{std::string(application), "Values", std::string(key)}] = value;
    }
    // Every stored value, "application/key=value;" in the order of their addresses.
    std::string all() const;
};

class FakeTrayIcon : public TrayIcon {
  public:
    std::vector<std::string> calls;
    bool hasNotificationArea = true;
    void prepare(const std::string& tip) override { calls.push_back("prepare " + tip); }
    void add() override { calls.push_back("add"); }
    void remove() override { calls.push_back("remove"); }
    bool available() override { return hasNotificationArea; }
};

class FakeConnectivity : public Connectivity {
  public:
    bool online = false;
    int asked = 0;
    bool isConnected() override {
        ++asked;
        return online;
    }
};

class FakeHostAddress : public HostAddress {
  public:
    HostNameResult name{std::string("somnar-pc"), 0};
    std::map<std::string, std::vector<Ipv4Address>> resolver;
    std::vector<Ipv4Address> interfaces;
    HostNameResult hostName() override { return name; }
    std::vector<Ipv4Address> resolveIpv4(const std::string& host) override {
        auto found = resolver.find(host);
        return found == resolver.end() ? std::vector<Ipv4Address>{} : found->second;
    }
    std::vector<Ipv4Address> interfaceIpv4() override { return interfaces; }
};

class FakeFiles : public Files, Logged {
  public:
    using Logged::Logged;
    std::vector<std::string> writableFolders{"/opt/somnar"};
    std::string data = "/home/anna/.local/share/somnar-scheduler";
    std::map<std::string, std::string> written;  // path: the bytes as given
    bool folderWritable(const std::string& folder) override {
        return std::find(writableFolders.begin(), writableFolders.end(), folder) !=
               writableFolders.end();
    }
    std::string dataFolder() override { return data; }
    bool writeSingleByteText(const std::string& path, const std::string& text) override;
};

class FakeFtpClient : public FtpClient, Logged {
  public:
    using Logged::Logged;

    // Scripted answers per step; ok unless a test says otherwise.
    FtpResult openAnswer{true, 0};
    FtpResult connectAnswer{true, 0};
    FtpResult directoryAnswer{true, 0};
    FtpResult putAnswer{true, 0};      // for every store not answered by putAnswers
    std::deque<FtpResult> putAnswers;  // for the next stores, in order
    FtpResult renameAnswer{true, 0};
    FtpResult removeAnswer{true, 0};
    std::vector<std::string> calls;
    FtpLogin lastLogin;
    // Runs at each call, e.g. to look at the status line meanwhile.
    std::function<void(const std::string&)> during;

    FtpResult open(const std::string& agent) override;
    FtpResult connect(const FtpLogin& login) override;
    FtpResult changeDirectory(const std::string& folder) override;
    FtpResult putFile(const std::string& localPath, const std::string& remoteName) override;
    FtpResult putBytes(const std::string& bytes, const std::string& remoteName) override;
    FtpResult rename(const std::string& from, const std::string& to) override;
    FtpResult remove(const std::string& name) override;
    void disconnect() override;

  private:
    FtpResult record(const std::string& call, const FtpResult& answer);
};

class FakeLog : public Log {
  public:
    std::vector<std::pair<LogLevel, std::string>> entries;
    void write(LogLevel level, const std::string& text) override {
        entries.emplace_back(level, text);
    }
};

class FakeNotifier : public Notifier, Logged {
  public:
    using Logged::Logged;
    std::vector<std::pair<std::string, std::string>> shown;  // summary, body
    void notify(const std::string& summary, const std::string& body) override {
        shown.emplace_back(summary, body);
        log_.push_back("notify " + summary);
    }
};

// The window system as a window's commands reach it: "minimize", "front",
// "focus <control>", "popUp <menu>".
class FakeWindowCommands : public WindowCommands {
  public:
    std::vector<std::string> done;
    void minimize() override { done.push_back("minimize"); }
    void bringToFront() override { done.push_back("front"); }
    void focus(Control* control) override { done.push_back("focus " + control->key()); }
    void popUp(Control* menu) override { done.push_back("popUp " + menu->key()); }
};

class FakeSystemFacts : public SystemFacts {
  public:
    bool alarmExists = true;
    bool alarmWritable = true;
    std::string resume = "254:16";
    std::uint64_t swap = 2ull << 30;
    std::vector<std::string> programs{"pon", "pppd", "nmcli"};
    bool wakeAlarmExists() override { return alarmExists; }
    bool wakeAlarmWritable() override { return alarmWritable; }
    bool clockKeepsLocalTime() override { return false; }
    std::string resumeDevice() override { return resume; }
    std::uint64_t swapBytes() override { return swap; }
    std::uint64_t memoryInUseBytes() override { return 1ull << 30; }
    bool programAvailable(const std::string& name) override {
        return std::find(programs.begin(), programs.end(), name) != programs.end();
    }
    bool pppPeerExists(const std::string& name) override { return name == "provider"; }
};

// A machine with S3, S4, a battery and wake timers allowed, until a test says otherwise.
class FakePowerPolicy : public PowerPolicy {
  public:
    std::optional<Capabilities> caps = Capabilities{true, false, true, true, true};
    std::map<PowerSource, WakeTimers> timers{{PowerSource::Mains, WakeTimers::Allowed},
                                             {PowerSource::Battery, WakeTimers::Allowed}};
    std::optional<Capabilities> capabilities() override { return caps; }
    WakeTimers wakeTimers(PowerSource source) override { return timers.at(source); }
};

struct FakePlatform {
    EventLog log;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeProgramInfo program;
    FakeInstanceGuard instance;
    FakePowerManager power{log};
    FakeDialer dialer{log};
    FakeSettingsStore settings;
    FakeTrayIcon tray;
    FakeWakeAlarm wakeAlarm{log};
    FakeProgramStarter programs{log};
    FakeFileDialog fileDialog;
    FakeConnectivity connectivity;
    FakeHostAddress hostAddress;
    FakeFiles files{log};
    FakeFtpClient ftp{log};
    FakeLog journal;
    FakeNotifier notifier{log};
    // The texts a Linux user reads.
    LinuxFailureTexts failureTexts;
    Services services{clock,    dialogs,    desktop,      program,     instance,
                      power,    dialer,     settings,     tray,        wakeAlarm,
                      programs, fileDialog, connectivity, hostAddress, files,
                      ftp,      journal,    notifier,     failureTexts};
};

}  // namespace somnar::testing
