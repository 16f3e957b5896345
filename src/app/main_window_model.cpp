#include "app/main_window_model.h"

namespace somnar {

MainWindow::MainWindow(Services& services, InfoWindow& frmInfo)
    : services_(services), infoWindow_(frmInfo), registry_(mainWindowDesign()) {
    registerControls();
    registry_.applyDesign();
    window.setCaption(std::string(mainWindowDesign().caption));
    window.setWidth(mainWindowDesign().width);
    window.setHeight(mainWindowDesign().height);
    wireHandlers();
}

MainWindow::~MainWindow() {
    services_.tray.onClick = nullptr;
}

void MainWindow::registerControls() {
    ControlRegistry& r = registry_;
    r.add(clockLine, "Label4");
    r.addArray(optionFrames, "Frame1");
    r.add(statusLine, "Label26");
    r.add(trayButton, "cmdTray");
    r.add(resetButton, "cmdReset");
    r.add(countdownInfoButton, "cmdParameterInfo");
    r.add(infoButton, "cmdInfo");
    r.add(optionsBox, "chkActionen");
    r.add(hibernateAvailable, "lbHibernate");
    r.add(standbyAvailable, "lbSuspend");

    r.add(sleepTime.day, "cmbDay_aus");
    r.add(sleepTime.month, "cmbMonth_aus");
    r.add(sleepTime.year, "cmbYear_aus");
    r.add(sleepTime.hour, "cmbHour_aus");
    r.add(sleepTime.minute, "cmbMinute_aus");
    r.addArray(timedSleepButtons, "cmdRS_aus");
    r.addArray(hibernatePictures, "Picture2");
    r.addArray(standbyPictures, "Picture1");
    r.add(hibernateNowButton, "cmdHibernate");
    r.add(standbyNowButton, "cmdSuspend");

    r.add(wakeTime.day, "cmbDay");
    r.add(wakeTime.month, "cmbMonth");
    r.add(wakeTime.year, "cmbYear");
    r.add(wakeTime.hour, "cmbHour");
    r.add(wakeTime.minute, "cmbMinute");

    r.addArray(wakeChoice, "optSOMNAR");

    r.add(dialupBox, "chkINET");
    r.add(alwaysOnBox, "chkDSL");
    r.add(dialupName, "cmbDFUE_Name");
    r.add(dialupUser, "txtUser");
    r.add(dialupPassword, "txtPassword");
    r.add(dialupPasswordToggle, "cmdNormalOrPW");
    r.add(dialButton, "Command4");

    r.add(publishBox, "chkFTP");
    r.add(ipAddressLine, "lblIP");
    r.add(ftpServer, "txtServer");
    r.add(ftpFolder, "txtDir");
    r.add(ftpUser, "txtFTP_USER");
    r.add(ftpPassword, "txtFTP_Password");
    r.add(ftpPasswordToggle, "cmdNormalOrPW2");
    r.add(passiveBox, "chkPassiv");
    r.add(ftpStatus, "Status");
    r.add(localFileName, "TxtFile");
    r.add(remoteFileName, "TxtFileR");
    r.add(uploadButton, "cmdFTP_PUT");
    r.add(connectionWatch, "tmrIP");

    r.add(programBox, "chkPROG");
    r.add(chooseProgramButton, "cmdOpenExe");
    r.add(programPath, "Text1");

    r.add(renewedSleepBox, "chkSLEEPnachSOMNAR");
    r.addArray(renewedSleepState, "Option1");
    r.add(renewedSleepSpan, "cmbSpanne");
    r.add(renewedSleepTimer, "Timer1");

    r.add(clockTimer, "tmrAktZeit");
    r.add(hibernateCountdown, "tmrRuhe");
    r.add(standbyCountdown, "tmrStandby");
    r.add(focusSink, "cmdDummy");

    r.add(trayMenu, "mnuPopUp");
    r.add(countdownMenuEntry, "mnuCountdown");
    r.add(showWindowEntry, "mnuAnzeige");
}

void MainWindow::wireHandlers() {
    infoButton.onClick = [this] { onInfo(); };
    hibernateNowButton.onClick = [this] { onHibernateNow(); };
    standbyNowButton.onClick = [this] { onStandbyNow(); };
    for (int i = 0; i < 2; ++i) {
        timedSleepButtons[i].onClick = [this, i] { onTimedSleep(i); };
    }
    for (int i = 1; i <= 2; ++i) {
        standbyPictures[i].onClick = [this, i] { onStandbyPicture(i); };
        hibernatePictures[i].onClick = [this, i] { onHibernatePicture(i); };
    }
    hibernateCountdown.onTick = [this] { onHibernateCountdownTick(); };
    standbyCountdown.onTick = [this] { onStandbyCountdownTick(); };
    clockTimer.onTick = [this] { onClockTick(); };
    renewedSleepTimer.onTick = [this] { onRenewedSleepTick(); };

    for (int i = 0; i < 2; ++i) {
        wakeChoice[i].onClick = [this, i] { onWakeChoice(i); };
    }
    dialupBox.onClick = [this] { onDialupTicked(); };
    alwaysOnBox.onClick = [this] { onAlwaysOnTicked(); };
    programBox.onClick = [this] { onProgramTicked(); };
    renewedSleepBox.onClick = [this] { onRenewedSleepTicked(); };
    optionsBox.onClick = [this] { onOptionsTicked(); };
    publishBox.onClick = [this] { onPublishTicked(); };

    countdownInfoButton.onClick = [this] { onCountdownInfo(); };
    countdownMenuEntry.onClick = [this] { onCountdownMenu(); };
    resetButton.onClick = [this] { onReset(); };

    dialButton.onClick = [this] { onDial(); };

    trayButton.onClick = [this] { onToTray(); };
    showWindowEntry.onClick = [this] { onShowWindow(); };
    services_.tray.onClick = [this](TrayClick click) { onTrayClick(click); };

    chooseProgramButton.onClick = [this] { onChooseProgram(); };
    programPath.onFilesDropped = [this](const std::vector<std::string>& files) {
        onProgramDropped(files);
    };
    programPath.onMouseMove = [this] { onProgramHover(); };

    connectionWatch.onTick = [this] { onConnectionWatchTick(); };
    uploadButton.onClick = [this] { onUpload(); };
    dialupPasswordToggle.onClick = [this] { onDialupPasswordToggle(); };
    ftpPasswordToggle.onClick = [this] { onFtpPasswordToggle(); };
}

void MainWindow::onInfo() {
    infoWindow_.open();
}

}  // namespace somnar
