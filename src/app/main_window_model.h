#pragma once

// The program's one working window: its rules over the controls. The handlers are private:
// a control's event calls them, they ask the subsystem that does the work (the request
// check and the sleeper, the after-wake steps, the publication) and turn its answer into
// captions and boxes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/info_window_model.h"
#include "app/main_window_controls.h"
#include "platform/services.h"
#include "publish/publication.h"
#include "publish/publisher.h"
#include "schedule/request_check.h"
#include "schedule/schedule.h"
#include "schedule/sleep_request.h"
#include "schedule/sleeper.h"
#include "wake/after_wake_steps.h"
#include "wake/renewed_sleep_countdown.h"

namespace somnar {

enum class StartOutcome { Shown, SecondCopy };

class MainWindow {
  public:
    // `controls` outlive the window's rules; a view shows them.
    MainWindow(Services& services, InfoWindow& infoWindow, MainWindowControls& controls);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

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

    Window& window() { return ui_.window; }
    const ControlRegistry& registry() const { return ui_.registry; }

  private:
    // The window's tests look at the subsystems' state behind the controls.
    friend struct MainWindowInspection;

    void wireHandlers();
    void listDialupConnections();

    // Sleep requests.
    RequestInput requestInput(const SleepRequest& request) const;
    // True when the request is sound and the user confirmed it.
    bool confirmRequest(const SleepRequest& request);
    bool acceptTomorrow(const LocalDateTime& now, const LocalDateTime& tomorrow);
    void sleepNow(SleepState state);
    void sleepOnly(SleepState state);
    SleepAttempt sleepAndWake(SleepState state);
    void onTimedSleep(SleepState state);
    void onTimedSleepPicture(SleepState state);
    void onTimedSleepDue(SleepState state, Timer& countdown);

    // What follows the wake-up.
    void startAfterWake(const AfterWakePlan& plan);
    void onClockTick();
    void onRenewedSleepDue();
    void onDial();
    void onConnectionWatchTick();
    void onUpload();

    // Option rules.
    void onWakeChoice(int index);
    void onDialupTicked();
    void onAlwaysOnTicked();
    void onOptionsTicked();
    void onPublishTicked();

    // Countdown parameters, reset, the notification-area icon and the program file.
    void onCountdownInfo();
    void onReset();
    void onToTray();
    void onTrayClick(TrayClick click);
    void onShowWindow();
    void onChooseProgram();
    void onPasswordToggle(TextBox& box, CommandButton& button);

    // What the controls say, read in one place.
    AfterWakePlan afterWakePlan() const;
    FtpTarget ftpTarget();
    std::optional<SleepState> renewedSleepChoice() const;

    void showWarning(std::string_view text);
    // A problem for the log and a notification that waits for the user.
    void reportProblem(const std::string& text);
    // The same, also in the status line: what went wrong after an unattended wake-up.
    void reportAfterWake(const std::string& text);
    void reportAfterWake(const std::optional<std::string>& problem);
    // A request that does not lead to a sleep: logged, told in a box, and the sleep
    // commands are usable again.
    void refuseSleep(const std::string& text);
    void enableSleepCommands();
    // One rewrite of each settings file; false when the values are not on disk.
    bool storeFtpValues();
    bool storeDialupValues();

    Services& services_;
    InfoWindow& infoWindow_;
    MainWindowControls& ui_;
    // The subsystems, each with its own state.
    Schedule schedule_;
    Sleeper sleeper_;
    DialStep dialStep_;
    ProgramStep programStep_;
    RenewedSleepCountdown renewedSleep_;
    Publisher publisher_;
    Publication publication_;
    // What start-up found the machine can do.
    bool canHibernate_ = true;
    bool canSuspend_ = true;
};

}  // namespace somnar
