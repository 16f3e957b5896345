#include "app/main_window_model.h"

#include "schedule/picker_moment.h"

namespace somnar {

MainWindow::MainWindow(Services& services, InfoWindow& frmInfo)
    : sleeper(services),
      afterWaking(services),
      publisher(services),
      services_(services),
      infoWindow_(frmInfo),
      registry_(mainWindowDesign()) {
    registerControls();
    registry_.applyDesign();
    window.setCaption(std::string(mainWindowDesign().caption));
    window.setWidth(mainWindowDesign().width);
    window.setHeight(mainWindowDesign().height);
    // A sample path as this system writes paths; start-up leaves it as it is.
    programPath.setText(services.program.sampleProgram());
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
    timedSleepButtons[0].onClick = [this] { onTimedSleep(SleepState::Hibernate); };
    timedSleepButtons[1].onClick = [this] { onTimedSleep(SleepState::Standby); };
    // The small pictures on the timed buttons act as part of the button beneath.
    hibernatePictures[2].onClick = [this] { onTimedSleepPicture(SleepState::Hibernate); };
    standbyPictures[2].onClick = [this] { onTimedSleepPicture(SleepState::Standby); };
    hibernateCountdown.onTick = [this] {
        onTimedSleepDue(SleepState::Hibernate, hibernateCountdown);
    };
    standbyCountdown.onTick = [this] { onTimedSleepDue(SleepState::Standby, standbyCountdown); };
    clockTimer.onTick = [this] { onClockTick(); };
    renewedSleepTimer.onTick = [this] { onRenewedSleepDue(); };

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
    countdownMenuEntry.onClick = [this] { onCountdownInfo(); };
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
    dialupPasswordToggle.onClick = [this] {
        onPasswordToggle(dialupPassword, dialupPasswordToggle);
    };
    ftpPasswordToggle.onClick = [this] { onPasswordToggle(ftpPassword, ftpPasswordToggle); };
}

void MainWindow::onInfo() {
    infoWindow_.open();
}

std::optional<SleepState> MainWindow::renewedSleepChoice() const {
    if (renewedSleepState[0].value()) {
        return SleepState::Hibernate;
    }
    if (renewedSleepState[1].value()) {
        return SleepState::Standby;
    }
    return std::nullopt;
}

AfterWakePlan MainWindow::afterWakePlan() const {
    AfterWakePlan plan;
    if (dialupBox.ticked()) {
        plan.dialup = DialupLogin{dialupName.text(), dialupUser.text(), dialupPassword.text()};
    }
    plan.alwaysOnline = alwaysOnBox.ticked();
    plan.publishAddress = publishBox.ticked();
    plan.ftpServer = ftpServer.text();
    if (programBox.ticked()) {
        plan.program = programPath.text();
    }
    if (renewedSleepBox.ticked()) {
        plan.renewedSleep =
            RenewedSleepPlan{renewedSleepChoice(), trimmed(renewedSleepSpan.text())};
    }
    return plan;
}

FtpTarget MainWindow::ftpTarget() {
    return {ftpServer.text(),
            ftpUser.text(),
            ftpPassword.text(),
            ftpFolder.text(),
            passiveBox.value() != CheckBox::Unchecked,  // greyed counts as ticked
            publisher.documentPath(localFileName.text()),
            remoteFileName.text()};
}

}  // namespace somnar
