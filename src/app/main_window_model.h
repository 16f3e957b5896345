#pragma once

// The program's one working window: the controls the handlers read and write, named
// for what they are (the design's names are their keys in the design table and the
// registry), and the handlers. A handler reads the controls, asks the subsystem that
// does the work (sleeping, after waking, publishing) and writes the controls.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_registry.h"
#include "app/info_window_model.h"
#include "app/window.h"
#include "platform/services.h"
#include "publish/publisher.h"
#include "schedule/sleep_request.h"
#include "schedule/sleeper.h"
#include "wake/after_waking.h"

namespace somnar {

enum class StartOutcome { Shown, SecondCopy };

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

    // The subsystems, each with its own state.
    Sleeper sleeper;
    AfterWaking afterWaking;
    Publisher publisher;

    std::optional<TrayClick> lastTrayClick;  // the last click on the notification-area icon

    // Start-up: runs once before the window is first shown.
    StartOutcome load();
    // Closing the window stores what the user typed.
    void unload();
    // Stores what the user typed in both settings files; a file that cannot take its values
    // is told in a box when `userThere`, always in the log.
    void storeTypedValues(bool userThere);
    // The desktop session ends or the program is told to end: the values are stored as
    // closing stores them, without a box that nobody may read, and both windows close.
    void endSession();
    void onInfo();

    // Sleep requests. True when the user confirmed the request.
    bool confirmRequest(const SleepRequest& request);
    SleepAttempt sleepAndWake(SleepState state);
    void onHibernateNow();
    void onStandbyNow();
    void onTimedSleep(SleepState state);
    void onTimedSleepPicture(SleepState state);
    void onTimedSleepDue(SleepState state, Timer& countdown);

    // The clock and what follows the wake-up.
    void onClockTick();
    void onRenewedSleepDue();
    void onDial();

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
    void onReset();

    // Notification-area icon.
    void onToTray();
    void onTrayClick(TrayClick click);
    void onShowWindow();

    // Program file selection.
    void onChooseProgram();
    void onProgramDropped(const std::vector<std::string>& files);
    void onProgramHover();

    // IP publication.
    void onConnectionWatchTick();
    // False when ip.html could not be written (the user has been told).
    bool writeIpDocument();
    void onUpload();
    void onPasswordToggle(TextBox& box, CommandButton& button);

    // What the controls say, read in one place.
    AfterWakePlan afterWakePlan() const;
    FtpTarget ftpTarget();
    std::optional<SleepState> renewedSleepChoice() const;

    const ControlRegistry& registry() const { return registry_; }

  private:
    void registerControls();
    void wireHandlers();
    void listDialupConnections();
    void sleepNow(SleepState state);
    void startAfterWake(const AfterWakePlan& plan);
    void showWarning(std::string_view text);
    // A problem for the log and a notification that waits for the user.
    void reportProblem(const std::string& text);
    // The same, also in the status line: what went wrong after an unattended wake-up.
    void reportAfterWake(const std::string& text);
    // A request that does not lead to a sleep: logged, told in a box, and the sleep
    // commands are usable again.
    void refuseSleep(const std::string& text);
    void enableSleepCommands();
    // One rewrite of each settings file; false when the values are not on disk.
    bool storeFtpValues();
    bool storeDialupValues();

    Services& services_;
    InfoWindow& infoWindow_;
    // What start-up found the machine can do.
    bool canHibernate_ = true;
    bool canSuspend_ = true;
    ControlRegistry registry_;
};

}  // namespace somnar
