// The system's services as stand-ins on a private bus: logind, the screen saver and the
// notification service, NetworkManager's dial-ups beside pppd's peers; the journal's absence.

#include <sstream>

#include "backends/test_environment.h"
#include "fakes/fake_platform.h"
#include "platform/linux/check/linux_machine_check.h"
#include "platform/linux/desktop_notifier.h"
#include "platform/linux/dialup_entries.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/logind_power_manager.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/unique_fd.h"

namespace somnar {
namespace {

using Clock = std::chrono::steady_clock;
using LogindTest = test::BusTest;
constexpr const char* kLogind = "fake_logind.py";
constexpr const char* kDesktop = "fake_desktop.py";

std::string called(const std::string& method, const std::string& args = "") {
    return R"({"method": ")" + method + R"(", "args": [)" + args + "]}";
}

const std::string kSleepLock = called(
    "Inhibit", R"("sleep", "Somnar Scheduler", "Ruhezustand oder Standby wird eingeleitet", )"
               R"("delay")");
const std::string kLockFreed = R"({"event": "InhibitorReleased", "args": ["sleep", "delay"]})";
const std::string kAnnounced = R"({"signal": "PrepareForSleep", "args": [true]})";
const std::string kAsleep = R"({"event": "Asleep"})";
const std::string kResumed = R"({"signal": "PrepareForSleep", "args": [false]})";
const std::string kSuspend = called("Suspend", "true");
const std::string kHibernate = called("Hibernate", "true");
const std::string kIdleLock = called(
    "Inhibit", R"("idle", "Somnar Scheduler", "Aufgaben nach dem Aufwachen laufen", "block")");
const std::string kIdleLockFreed = R"({"event": "InhibitorReleased", "args": ["idle", "block"]})";
const std::string kClientGone = R"({"event": "ClientGone"})";
const std::string kScreenSaverAsked =
    called("Inhibit", R"("Somnar Scheduler", "Aufgaben nach dem Aufwachen laufen")");

// What descriptor 0 is, opened first when `first`. A lock that closes a descriptor it no
// longer owns closes the lowest, and the next connection takes its number.
std::string input(bool first = false) {
    if (first && ::fcntl(0, F_GETFD) == -1) {
        ::open("/dev/null", O_RDONLY);  // becomes descriptor 0
    }
    std::error_code error;
    return fs::read_symlink("/proc/self/fd/0", error).string();
}

// "challenge" is allowed too: the sleep call itself asks the user to authenticate. Without
// an answer nothing is possible, within the time.
TEST_F(LogindTest, EachStateFollowsItsOwnAnswerWithinTheTime) {
    LogindPowerManager manager(500ms);
    startPeer(kLogind, {"--fail", "CanHibernate", "--stall", "CanSuspend"});
    EXPECT_EQ(manager.sleepAnswer(SleepState::Hibernate), std::nullopt);
    EXPECT_FALSE(manager.canSuspend());
    for (const auto& [hibernate, suspend] : {std::pair{"challenge", "yes "}, {"no", "yes"}}) {
        startPeer(kLogind, {"--can-hibernate", hibernate, "--can-suspend", suspend});
        EXPECT_EQ(manager.canHibernate(), *hibernate == 'c');
        EXPECT_EQ(manager.canSuspend(), *hibernate == 'n');
        EXPECT_EQ(manager.sleepAnswer(SleepState::Standby), suspend);
        EXPECT_EQ(calls(kLogind),
                  (Lines{called("CanHibernate"), called("CanSuspend"), called("CanSuspend")}));
    }
    // A bus that accepts the connection and never says a word.
    test::FtpServer hung({"--silent"});
    const std::string bus = "tcp:host=127.0.0.1,port=" + hung.address.substr(10);
    const test::ScopedEnv system("DBUS_SYSTEM_BUS_ADDRESS", bus);
    const test::ScopedEnv session("DBUS_SESSION_BUS_ADDRESS", bus);
    LogindPowerManager unreachable(500ms);
    const auto start = Clock::now();
    EXPECT_FALSE(unreachable.canSuspend());
    EXPECT_EQ(unreachable.sleep(SleepState::Standby, {}).outcome, SleepOutcome::NoService);
    unreachable.keepAwake();
    DesktopNotifier().notify("Zusammenfassung", "Text");
    EXPECT_LT(Clock::now() - start, 3s + DesktopNotifier::kTimeout);
}

// Asked once, interactively, under a delay lock freed once the sleep is announced and the
// program has had its say. A resume before the announcement belongs to an earlier sleep; the
// announcement's limit starts with the answer, however long the user takes to authenticate.
TEST_F(LogindTest, SleepsAndWakesOnce) {
    using enum SleepState;
    const Lines woke = {kAnnounced, kLockFreed, kAsleep, kResumed};
    const std::tuple<const char*, SleepState, Lines> cases[] = {
        {"--fail=-", Hibernate, woke},  // nothing fails
        {"--announce-before-reply", Standby, woke},
        {"--stray-resume", Hibernate, {kResumed, kAnnounced, kLockFreed, kAsleep, kResumed}},
        {"--fail=Inhibit", Standby, {kAnnounced, kAsleep, kResumed}},
        {"--reply-after=3", Standby, woke}};
    for (const auto& [option, state, after] : cases) {
        startPeer(kLogind, {option});
        const std::string before = input(true);
        Lines whenGoingDown;
        const SleepResult result = LogindPowerManager(2s, {.start = 1s}).sleep(state, [&] {
            whenGoingDown = calls(kLogind);
        });
        EXPECT_EQ(input(), before) << "a descriptor not its own was closed";
        EXPECT_THAT(whenGoingDown, ::testing::Contains(kAnnounced)) << option;
        EXPECT_THAT(whenGoingDown, ::testing::Not(::testing::Contains(kLockFreed))) << option;
        EXPECT_EQ(result.outcome, SleepOutcome::WokeUp) << option;
        EXPECT_NE(result.wentDownAt, std::nullopt);
        Lines expected = {kSleepLock, state == Hibernate ? kHibernate : kSuspend};
        expected.insert(expected.end(), after.begin(), after.end());
        EXPECT_EQ(calls(kLogind), expected) << option;
    }
}

// The kind by the error's name, with logind's words (else the name); the lock is freed.
TEST_F(LogindTest, RefusalEndsTheRequestAndFreesTheLock) {
    const struct {
        const char* error;  // below org.freedesktop.; none: accepted, never announced
        const char* message;
        SleepOutcome outcome;
    } cases[] = {{"DBus.Error.AccessDenied", "Access denied", SleepOutcome::NotAuthorized},
                 {"PolicyKit1.Error.Cancelled", "Cancelled", SleepOutcome::NotAuthorized},
                 {"login1.SleepVerbNotSupported", "No swap", SleepOutcome::NotSupported},
                 {"DBus.Error.NameHasNoOwner", "", SleepOutcome::NoService},
                 {"login1.OperationInProgress", "Busy", SleepOutcome::Refused},
                 {"", "", SleepOutcome::NotAnnounced}};
    for (const auto& c : cases) {
        const std::string error = *c.error ? std::string("org.freedesktop.") + c.error : "";
        startPeer(kLogind, {*c.error ? "--fail=Hibernate" : "--no-sleep-signal", "--error", error,
                            "--error-message", c.message});
        const SleepResult result =
            LogindPowerManager(2s, {.start = 1s}).sleep(SleepState::Hibernate, {});
        EXPECT_EQ(result.outcome, c.outcome) << error;
        EXPECT_EQ(result.detail, *c.message ? c.message : error);
        EXPECT_TRUE(test::waitForLine(record(kLogind), kLockFreed));
        EXPECT_EQ(calls(kLogind), (Lines{kSleepLock, kHibernate, kLockFreed}));
    }
}

// No wait lasts for ever: logind gone before its answer is unreachable; a resume that is
// never announced shows in the suspended time, or is taken for granted after the limit; a
// program that is ending stops waiting.
TEST_F(LogindTest, EveryWaitEnds) {
    struct Ending : FdWait {
        bool wait(int, short, std::optional<std::chrono::microseconds>) override { return false; }
    } ending;
    // The stand-in's option, the waiter, the suspended time after the announcement, the end.
    const std::tuple<const char*, FdWait*, std::chrono::nanoseconds, SleepOutcome, WakeNotice>
        cases[] = {
            {"--leave-before-reply", nullptr, 0s, SleepOutcome::NoService, WakeNotice::Announced},
            {"--no-resume", nullptr, 3s, SleepOutcome::WokeUp, WakeNotice::SuspendSeen},
            {"--no-resume", nullptr, 0s, SleepOutcome::WokeUp, WakeNotice::NoneInTime},
            {"--reply-after=1", &ending, 0s, SleepOutcome::Abandoned, WakeNotice::Announced}};
    for (const auto& [option, waiter, suspended, outcome, notice] : cases) {
        startPeer(kLogind, {option});
        int looks = 0;
        SleepLimits limits{1s, 1s, 100ms, [&] { return looks++ == 0 ? 0s : suspended; }};
        const SleepResult result =
            LogindPowerManager(2s, limits, waiter).sleep(SleepState::Standby, {});
        EXPECT_EQ(result.outcome, outcome) << option;
        EXPECT_EQ(result.wakeNotice, notice) << option;
    }
}

// Authorised after its wake-up time (logind answers late): the wake-up is armed anew 30 s
// ahead while logind still waits for us, and the test wake-up says so.
TEST_F(LogindTest, AWakeUpGoneByWhenTheSleepBeginsIsMovedAhead) {
    startPeer(kLogind, {"--reply-after=2"});
    LogindPowerManager power(2s);
    testing::FakePlatform fake;
    testing::FakeSystemFacts facts;
    SystemClock clock;
    CheckServices services{power,       fake.wakeAlarm, facts, fake.settings,
                           fake.dialer, fake.ftp,       clock, ""};
    std::ostringstream out;
    runTestWake(services, SleepState::Standby, 1, out);
    EXPECT_THAT(out.str(), ::testing::HasSubstr(") freigegeben, deshalb wurde der Rechner 30 "
                                                "Sekunden nach dem Einschlafen geweckt.\nNeue "));
    ASSERT_EQ(fake.wakeAlarm.armed.size(), 3u);  // the check's, the wake-up, the moved one
    EXPECT_GE(fake.wakeAlarm.armed[2].due - fake.wakeAlarm.armed[1].due, 31s);
}

// Held until the end; a refused lock is asked for again, and the screen saver is also
// found at its older path. What comes after waking reaches the user who comes back.
TEST_F(LogindTest, KeepAwakeHoldsWhatItGetsUntilTheEnd) {
    for (const bool refused : {false, true}) {
        startPeer(kLogind, {"--fail", refused ? "Inhibit" : "-"});
        startPeer(kDesktop, {"--first-cookie", "4711", "--path",
                             refused ? "/ScreenSaver" : "/org/freedesktop/ScreenSaver"});
        const std::string before = input(true);
        auto manager = std::make_unique<LogindPowerManager>();
        manager->keepAwake();
        manager->keepAwake();
        EXPECT_EQ(input(), before) << "a descriptor not its own was closed";
        EXPECT_EQ(calls(kLogind), Lines(refused ? 2 : 1, kIdleLock));
        EXPECT_EQ(calls(kDesktop), Lines{kScreenSaverAsked});
        manager.reset();
        EXPECT_TRUE(test::waitForLine(record(kDesktop), kClientGone));
        EXPECT_EQ(calls(kDesktop),
                  (Lines{kScreenSaverAsked, called("UnInhibit", "4711"), kClientGone}));
        EXPECT_EQ(test::waitForLine(record(kLogind), kIdleLockFreed, 1s), !refused);
    }
    // A notice is critical and never expires.
    DesktopNotifier().notify("Aufwachen fehlgeschlagen", "Grüße\n\"zweite\" Zeile");
    EXPECT_EQ(calls(kDesktop).back(),
              R"({"method": "Notify", "args": ["Somnar Scheduler", 0, "somnar-scheduler", )"
              R"("Aufwachen fehlgeschlagen", "Grüße\n\"zweite\" Zeile", [], )"
              R"({"urgency": ["y", 2]}, 0]})");
    // Where no journal listens, libsystemd says a log entry was sent and drops it.
    ::testing::internal::CaptureStderr();
    JournalLog("somnar-test", "/nowhere/socket").write(LogLevel::Error, "Grüße\nzwei");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "somnar-test: Grüße\nzwei\n");
}

// Stand-ins for pon and nmcli that note how they were started (tests/peers/record_argv.py).
const fs::path kStandIns = fs::path(SOMNAR_TEST_PEERS_DIR) / "bin";

class DialupTest : public test::BusTest {
  protected:
    void SetUp() override {
        BusTest::SetUp();
        fs::create_directory(peers_);
        for (const char* name :
             {"provider", "T-Online", "T-Online DSL", "arcor", "Büro", "-provider", "glob?",
              ".hidden", "provider~", "MobilFunk", "Mobil Funk"}) {
            test::writeFile(peers_ / name, "/dev/ttyUSB0\n115200\n");
        }
        fs::create_directory(peers_ / "chatscripts");
        fs::create_symlink(peers_ / "provider", peers_ / "linked");
        fs::create_symlink(peers_ / "gone", peers_ / "dangling");
    }
    void startNetworkManager(Lines more) {
        for (const char* connection :
             {"802-3-ethernet:Wired", "gsm:Mobile Broadband", "pppoe:Mobil Funk", "gsm:Secret",
              "vpn:Office", "cdma:MobilFunk", "bluetooth:Phone DUN"}) {
            more.insert(more.end(), {"--connection", connection});
        }
        ASSERT_NO_FATAL_FAILURE(startPeer("fake_networkmanager.py", more));
    }
    // Waits for the last of the detached starts to be noted; then these must be all.
    void expectStarts(const Lines& lines) const {
        EXPECT_TRUE(test::waitForLine(started_, lines.back())) << lines.back();
        EXPECT_EQ(test::readLines(started_), lines);
    }

    fs::path peers_ = folder_.path() / "peers";
    fs::path started_ = folder_.path() / "argv.jsonl";
    test::ScopedEnv path_{"PATH", kStandIns.string() + ":/usr/bin:/bin"};
    test::ScopedEnv record_{"SOMNAR_ARGV_RECORD", started_.string()};
    // Open across exec: only a dialler that closes what it does not hand over is rid of it.
    UniqueFd stray_{::open("/dev/null", O_RDONLY)};
};

// A peer of the same name is preferred unless pon cannot carry its name; nmcli gets no user
// and password. A stalled NetworkManager costs one budget for the whole list.
TEST_F(DialupTest, PeersThenNetworkManagerDialupsWithinOneBudget) {
    startNetworkManager({"--fail-settings", "Secret"});
    LinuxDialupEntries entries(peers_, 600ms);
    EXPECT_THAT(
        entries.listEntries(),
        ::testing::ElementsAre("Büro", "MobilFunk", "T-Online", "arcor", "linked", "provider",
                               "Mobile Broadband", "Mobil Funk", "MobilFunk", "Phone DUN"));
    EXPECT_TRUE(entries.dial("MobilFunk", "", "").ok());
    EXPECT_TRUE(test::waitForLine(started_, R"(["pon", "MobilFunk"])"));
    EXPECT_TRUE(entries.dial("Mobil Funk", "anna", "geheim").ok());
    expectStarts(
        {R"(["pon", "MobilFunk"])", R"(["nmcli", "connection", "up", "id", "Mobil Funk"])"});
    startNetworkManager({"--stall", "GetSettings"});
    const auto start = Clock::now();
    EXPECT_EQ(entries.listEntries().size(), 6u);
    EXPECT_EQ(entries.dial("Phone DUN", "", "").error, DialError::UnknownName);
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(test::readLines(started_).size(), 2u) << "nothing more started";
}

// Never in pon's arguments, its environment (ours, as it is) or a file; nothing for pppd to
// unquote or expand.
TEST_F(DialupTest, CredentialsReachPppdOnlyThroughAnInheritedPipe) {
    std::string ours;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        ours += std::string(*variable) + '\0';
    }
    const struct {
        std::string user, password, options;  // options as pppd reads them, in JSON
    } cases[] = {{"anna maier", "ge heim", R"(user \"anna maier\"\npassword \"ge heim\"\n)"},
                 {"anna.maier", "", R"(user \"anna.maier\"\n)"},
                 {"an\"na\\", "$HOME \"a b\" 'c' \\d #*; ü",
                  R"(user \"an\\\"na\\\\\"\npassword \"$HOME \\\"a b\\\" 'c' \\\\d #*; ü\"\n)"},
                 {"", "", ""}};
    for (const auto& c : cases) {
        fs::remove(started_);
        ASSERT_TRUE(LinuxDialupEntries(peers_).dial("provider", c.user, c.password).ok());
        if (c.options.empty()) {
            expectStarts({R"(["pon", "provider"])"});
        } else {
            expectStarts({R"(["pon", "provider", "file", "/dev/fd/3"])", R"(["open", "3:pipe"])",
                          R"(["/dev/fd/3", ")" + c.options + "\"]"});
        }
        EXPECT_EQ(test::contentOf(started_.string() + ".environ"), ours);
    }
}

TEST_F(DialupTest, RefusalSaysWhy) {
    startNetworkManager({});
    const struct {
        std::string dialled, user, password;
        DialError error;
        std::string detail;
    } cases[] = {
        {"Arcor", "anna", "geheim", DialError::UnknownName, "Arcor"},
        {"../peers/provider", "", "", DialError::UnknownName, "../peers/provider"},
        {"", "anna", "geheim", DialError::NothingSelected, ""},
        {"T-Online DSL", "", "", DialError::NameNotDialable, "T-Online DSL"},
        {"provider", "anna\nmaier", "", DialError::UnusableCredentials, ""},
        {"provider", "anna", std::string("ge\0heim", 7), DialError::UnusableCredentials, ""},
        {"provider", "anna", "geheim", DialError::PppMissing, ""},
        {"Mobil Funk", "", "", DialError::NetworkManagerMissing, ""}};
    // Without pon and nmcli: any other refusal comes before they are looked for.
    const test::ScopedEnv path("PATH", "/nowhere");
    for (const auto& c : cases) {
        const DialResult result = LinuxDialupEntries(peers_).dial(c.dialled, c.user, c.password);
        EXPECT_EQ(result.error, c.error) << c.dialled;
        EXPECT_EQ(result.detail, c.detail);
        EXPECT_EQ(result.systemError, "");
    }
}

}  // namespace
}  // namespace somnar
