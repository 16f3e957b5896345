#pragma once

// MainWindow, the program's one working window: every control as a member under its
// design name, the window-level values beside them, and the handlers. Handlers of
// each subsystem are defined in that subsystem's own files.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_registry.h"
#include "app/info_window_model.h"
#include "app/window.h"
#include "platform/services.h"

namespace somnar {

enum class StartOutcome { Shown, SecondCopy };

enum class GoOutcome {
    AfterWake,  // slept, woke, and the after-wake steps have run
    Refused,    // the wake-up could not be armed: no sleep, nothing after it
    NotSlept,   // the machine did not go to sleep: nothing after it
};

class MainWindow {
  public:
    MainWindow(Services& services, InfoWindow& frmInfo);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Window window;

    // Upper area.
    Label clockLine;
    ControlArray<Frame, 0, 2> optionFrames;
    Label statusLine;
    CommandButton trayButton;
    CommandButton resetButton;
    CommandButton countdownInfoButton;
    CommandButton infoButton;
    CheckBox optionsBox;
    Label hibernateAvailable;
    Label standbyAvailable;

    // Sleep at a set time (in Frame4).
    MomentPickers sleepTime;
    ControlArray<CommandButton, 0, 2> timedSleepButtons;
    ControlArray<PictureBox, 1, 2> hibernatePictures;
    ControlArray<PictureBox, 1, 2> standbyPictures;
    CommandButton hibernateNowButton;
    CommandButton standbyNowButton;

    // Wake-up time (in optionFrames(0)).
    MomentPickers wakeTime;

    // Wake again or not (in Frame2).
    ControlArray<OptionButton, 0, 2> wakeChoice;

    // Dial-up area.
    CheckBox dialupBox;
    CheckBox alwaysOnBox;
    Picker dialupName;
    TextBox dialupUser;
    TextBox dialupPassword;
    CommandButton dialupPasswordToggle;
    CommandButton dialButton;

    // IP publication (in optionFrames(1)).
    CheckBox publishBox;
    Label ipAddressLine;
    TextBox ftpServer;
    TextBox ftpFolder;
    TextBox ftpUser;
    TextBox ftpPassword;
    CommandButton ftpPasswordToggle;
    CheckBox passiveBox;
    Label ftpStatus;
    TextBox localFileName;
    TextBox remoteFileName;
    CommandButton uploadButton;
    Timer connectionWatch;

    // Program to start after waking.
    CheckBox programBox;
    CommandButton chooseProgramButton;
    TextBox programPath;

    // Renewed sleep (in Frame3).
    CheckBox renewedSleepBox;
    ControlArray<OptionButton, 0, 2> renewedSleepState;
    Picker renewedSleepSpan;
    Timer renewedSleepTimer;

    // Window-level timers and the focus target.
    Timer clockTimer;
    Timer hibernateCountdown;
    Timer standbyCountdown;
    CommandButton focusSink;

    // Pop-up menu of the notification-area icon.
    MenuEntry trayMenu;
    MenuEntry countdownMenuEntry;
    MenuEntry showWindowEntry;

    // Window-level values.
    std::string confirmationText;
    bool confirmed = false;
    double elapsed = 0;                      // seconds counted by the renewed-sleep countdown
    std::optional<TrayClick> lastTrayClick;  // the last click on the notification-area icon

    // Start-up: runs once before the window is first shown.
    StartOutcome load();
    // Closing the window.
    void unload();
    void onInfo();
    void listDialupConnections();

    // Sleep requests: mode "hibernate" or "standby", moment "sofort" or "ruhezeit".
    bool confirmRequest(std::string_view mode, std::string_view moment);
    GoOutcome sleepAndWake(std::string_view mode);
    void onHibernateNow();
    void onStandbyNow();
    void onTimedSleep(int index);
    void onStandbyPicture(int index);
    void onHibernatePicture(int index);
    void onHibernateCountdownTick();
    void onStandbyCountdownTick();

    // The clock and the renewed-sleep countdown.
    void onClockTick();
    void onRenewedSleepTick();

    // Option rules.
    void onWakeChoice(int index);
    void onDialupTicked();
    void onAlwaysOnTicked();
    void onProgramTicked();
    void onRenewedSleepTicked();
    void onOptionsTicked();
    void onPublishTicked();

    // Countdown parameters and reset.
    void onCountdownInfo();
    void onCountdownMenu();
    void onReset();

    // Dial-up start after waking.
    void onDial();

    // Notification-area icon.
    void onToTray();
    void onTrayClick(TrayClick click);
    void onShowWindow();

    // Program file selection.
    void onChooseProgram();
    void onProgramDropped(const std::vector<std::string>& files);
    void onProgramHover();

    // IP publication.
    bool isConnected();
    void onConnectionWatchTick();
    std::string localIpAddress();
    // False when ip.html could not be written (the user has been told).
    bool writeIpDocument();
    void onUpload();
    void onDialupPasswordToggle();
    void onFtpPasswordToggle();

    // The renewed-sleep minutes when renewedSleepSpan holds a whole number from 1 to 1440.
    std::optional<int> renewedSleepMinutes() const;

    const ControlRegistry& registry() const { return registry_; }
    Services& services() { return services_; }

  private:
    void registerControls();
    void wireHandlers();
    void sleepNow(std::string_view mode);
    void sleepCountdownTick(std::string_view mode, Timer& countdown);
    void showWarning(std::string_view text);
    // A problem for the log and a notification that waits for the user.
    void reportProblem(const std::string& text);
    // The same, also in the status line: what went wrong after an unattended wake-up.
    void reportAfterWake(const std::string& text);
    // A request that does not lead to a sleep: logged, told in a box, and the sleep
    // commands are usable again.
    void refuseSleep(const std::string& text);
    void reportSleepRefused(SleepState state, const SleepResult& result);
    void enableSleepCommands();
    // Seconds the renewed-sleep countdown counts at this tick: the real time since the
    // last counting tick, one interval at the first tick of a run or after a pause.
    double secondsSinceLastCount();
    void togglePassword(TextBox& box, CommandButton& button);
    // One rewrite of each settings file; false when the values are not on disk.
    bool storeFtpValues();
    bool storeDialupValues();
    // Where ip.html is written and read from.
    std::string documentFolder();
    std::string documentPath(const std::string& name);

    Services& services_;
    InfoWindow& infoWindow_;
    // What start-up found the machine can do.
    bool canHibernate_ = true;
    bool canSuspend_ = true;
    // The renewed-sleep countdown: the clock reading of its last counting tick and the
    // run of renewedSleepTimer it belongs to.
    std::optional<std::chrono::milliseconds> lastCount_;
    unsigned countedRun_ = 0;
    ControlRegistry registry_;
};

}  // namespace somnar
