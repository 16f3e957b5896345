#pragma once

// The controls of the main window, named for what they are (the design's names are their
// keys in the design table and the registry). They hold what the user sees and typed; the
// window's rules (MainWindow) read and write them, and a view binds widgets to them.

#include "app/control_registry.h"
#include "app/window.h"
#include "schedule/picker_moment.h"

namespace somnar {

struct MainWindowControls {
    MainWindowControls();
    MainWindowControls(const MainWindowControls&) = delete;
    MainWindowControls& operator=(const MainWindowControls&) = delete;

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

    // Every control above under its design name, with the design applied.
    ControlRegistry registry;

  private:
    void registerControls();
};

// The pickers' texts as they stand.
MomentTexts textsOf(const MomentPickers& pickers);

}  // namespace somnar
