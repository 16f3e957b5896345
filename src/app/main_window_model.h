#pragma once

// Form1, the program's one working window: every control as a member under its
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

class Form1 {
  public:
    Form1(Services& services, FrmInfo& frmInfo);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    Window window;

    // Upper area.
    Label Label27;
    Label Label4;
    Frame Frame4;
    ControlArray<Frame, 0, 2> Frame1;
    Frame Frame2;
    Label Label26;
    CommandButton cmdTray;
    CommandButton cmdReset;
    CommandButton cmdParameterInfo;
    CommandButton cmdInfo;
    CheckBox chkActionen;
    Label Label9;
    Label lbHibernate;
    Label Label10;
    Label lbSuspend;
    Line Line1;

    // Sleep at a set time (in Frame4).
    Label Label23;
    Label Label22;
    ControlArray<Label, 0, 2> Label21;
    Picker cmbDay_aus;
    Picker cmbMonth_aus;
    Picker cmbYear_aus;
    ControlArray<Line, 0, 2> Line5;
    Label Label25;
    Label Label24;
    Picker cmbHour_aus;
    Picker cmbMinute_aus;
    ControlArray<CommandButton, 0, 2> cmdRS_aus;
    ControlArray<PictureBox, 1, 2> Picture2;
    ControlArray<PictureBox, 1, 2> Picture1;
    Frame Frame5;
    CommandButton cmdHibernate;
    CommandButton cmdSuspend;

    // Wake-up time (in Frame1(0)).
    Label Label19;
    Label Label20;
    Picker cmbDay;
    Picker cmbMonth;
    Picker cmbYear;
    Label Label1;
    Label Label2;
    Picker cmbHour;
    ControlArray<Label, 0, 2> Label3;
    Picker cmbMinute;

    // Wake again or not (in Frame2).
    ControlArray<OptionButton, 0, 2> optSOMNAR;

    // Dial-up area.
    CheckBox chkINET;
    CheckBox chkDSL;
    Label Label6;
    Picker cmbDFUE_Name;
    Label Label7;
    TextBox txtUser;
    Label Label8;
    TextBox txtPassword;
    CommandButton cmdNormalOrPW;
    CommandButton Command4;
    Line Line4;

    // IP publication (in Frame1(1)).
    CheckBox chkFTP;
    Label Label13;
    Label lblIP;
    Label Label15;
    TextBox txtServer;
    Label Label14;
    TextBox txtDir;
    Label Label16;
    TextBox txtFTP_USER;
    TextBox txtFTP_Password;
    CommandButton cmdNormalOrPW2;
    CheckBox chkPassiv;
    Label Label11;
    Label Status;
    Label Label17;
    TextBox TxtFile;
    Label Label18;
    TextBox TxtFileR;
    CommandButton cmdFTP_PUT;
    Timer tmrIP;

    // Program to start after waking.
    Line Line2;
    CheckBox chkPROG;
    CommandButton cmdOpenExe;
    Label Label5;
    TextBox Text1;
    Line Line3;

    // Renewed sleep (in Frame3).
    CheckBox chkSLEEPnachSOMNAR;
    Frame Frame3;
    ControlArray<OptionButton, 0, 2> Option1;
    Label Label12;
    Picker cmbSpanne;
    Timer Timer1;

    // Window-level timers and the focus target.
    Timer tmrAktZeit;
    Timer tmrRuhe;
    Timer tmrStandby;
    CommandButton cmdDummy;

    // Pop-up menu of the notification-area icon.
    MenuEntry mnuPopUp;
    MenuEntry mnuCountdown;
    MenuEntry mnuAnzeige;

    // Window-level values.
    std::string confirmText;
    bool confirmed = false;
    double elapsed = 0;                      // seconds counted by the renewed-sleep countdown
    std::optional<TrayClick> lastTrayClick;  // the last click on the notification-area icon

    // Start-up: runs once before the window is first shown.
    StartOutcome Form_Load();
    // Closing the window.
    void Form_Unload();
    void cmdInfo_Click();
    void list_verbindung();

    // Sleep requests: mode "hibernate" or "standby", moment "sofort" or "ruhezeit".
    bool verify(std::string_view mode, std::string_view moment);
    GoOutcome go(std::string_view mode);
    void cmdHibernate_Click();
    void cmdSuspend_Click();
    void cmdRS_aus_Click(int index);
    void Picture1_Click(int index);
    void Picture2_Click(int index);
    void tmrRuhe_Timer();
    void tmrStandby_Timer();

    // The clock and the renewed-sleep countdown.
    void tmrAktZeit_Timer();
    void Timer1_Timer();

    // Option rules.
    void optSOMNAR_Click(int index);
    void chkINET_Click();
    void chkDSL_Click();
    void chkPROG_Click();
    void chkSLEEPnachSOMNAR_Click();
    void chkActionen_Click();
    void chkFTP_Click();

    // Countdown parameters and reset.
    void cmdParameterInfo_Click();
    void mnuCountdown_Click();
    void cmdReset_Click();

    // Dial-up start after waking.
    void Command4_Click();

    // Notification-area icon.
    void cmdTray_Click();
    void trayIcon_Click(TrayClick click);
    void mnuAnzeige_Click();

    // Program file selection.
    void cmdOpenExe_Click();
    void Text1_OLEDragDrop(const std::vector<std::string>& files);
    void Text1_MouseMove();

    // IP publication.
    bool IsConnected();
    void tmrIP_Timer();
    std::string LocalIpAddress();
    // False when ip.html could not be written (the user has been told).
    bool makeHTML();
    void cmdFTP_PUT_Click();
    void cmdNormalOrPW_Click();
    void cmdNormalOrPW2_Click();

    // The renewed-sleep minutes when cmbSpanne holds a whole number from 1 to 1440.
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
    FrmInfo& frmInfo_;
    // What start-up found the machine can do.
    bool canHibernate_ = true;
    bool canSuspend_ = true;
    // The renewed-sleep countdown: the clock reading of its last counting tick and the
    // run of Timer1 it belongs to.
    std::optional<std::chrono::milliseconds> lastCount_;
    unsigned countedRun_ = 0;
    ControlRegistry registry_;
};

}  // namespace somnar
