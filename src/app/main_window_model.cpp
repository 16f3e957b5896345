#include "app/main_window_model.h"

#include "common/settings_keys.h"
#include "publish/ftp_login.h"

namespace somnar {

MainWindow::MainWindow(Services& services, InfoWindow& infoWindow, MainWindowControls& controls)
    : services_(services),
      infoWindow_(infoWindow),
      ui_(controls),
      sleeper_({services.power, services.wakeAlarm, services.clock, services.log,
                services.failureTexts, services.program.checkCommand()}),
      dialStep_(services.dialer, services.failureTexts),
      programStep_(services.programs, services.failureTexts),
      publisher_({services.connectivity, services.hostAddress, services.files, services.program,
                  services.clock, services.ftp}),
      publication_(publisher_) {
    // A sample path as this system writes paths; start-up leaves it as it is.
    ui_.programPath.setText(services.program.sampleProgram());
    wireHandlers();
}

MainWindow::~MainWindow() {
    services_.tray.onClick = nullptr;
}

void MainWindow::wireHandlers() {
    MainWindowControls& c = ui_;
    c.infoButton.onClick = [this] { infoWindow_.open(); };
    c.hibernateNowButton.onClick = [this] { sleepNow(SleepState::Hibernate); };
    c.standbyNowButton.onClick = [this] { sleepNow(SleepState::Standby); };
    c.timedSleepButtons[0].onClick = [this] { onTimedSleep(SleepState::Hibernate); };
    c.timedSleepButtons[1].onClick = [this] { onTimedSleep(SleepState::Standby); };
    // The small pictures on the timed buttons act as part of the button beneath.
    c.hibernatePictures[2].onClick = [this] { onTimedSleepPicture(SleepState::Hibernate); };
    c.standbyPictures[2].onClick = [this] { onTimedSleepPicture(SleepState::Standby); };
    c.hibernateCountdown.onTick = [this] {
        onTimedSleepDue(SleepState::Hibernate, ui_.hibernateCountdown);
    };
    c.standbyCountdown.onTick = [this] {
        onTimedSleepDue(SleepState::Standby, ui_.standbyCountdown);
    };
    c.clockTimer.onTick = [this] { onClockTick(); };
    c.renewedSleepTimer.onTick = [this] { onRenewedSleepDue(); };

    for (int i = 0; i < 2; ++i) {
        c.wakeChoice[i].onClick = [this, i] { onWakeChoice(i); };
    }
    c.dialupBox.onClick = [this] { onDialupTicked(); };
    c.alwaysOnBox.onClick = [this] { onAlwaysOnTicked(); };
    c.programBox.onClick = [this] { ui_.programPath.setEnabled(ui_.programBox.ticked()); };
    c.renewedSleepBox.onClick = [this] {
        ui_.renewedSleepSpan.setEnabled(ui_.renewedSleepBox.ticked());
    };
    c.optionsBox.onClick = [this] { onOptionsTicked(); };
    c.publishBox.onClick = [this] { onPublishTicked(); };

    c.countdownInfoButton.onClick = [this] { onCountdownInfo(); };
    c.countdownMenuEntry.onClick = [this] { onCountdownInfo(); };
    c.resetButton.onClick = [this] { onReset(); };

    c.dialButton.onClick = [this] { onDial(); };

    c.trayButton.onClick = [this] { onToTray(); };
    c.showWindowEntry.onClick = [this] { onShowWindow(); };
    services_.tray.onClick = [this](TrayClick click) { onTrayClick(click); };

    c.chooseProgramButton.onClick = [this] { onChooseProgram(); };
    c.programPath.onFilesDropped = [this](const std::vector<std::string>& files) {
        if (!files.empty()) {
            ui_.programPath.setText(files.front());
        }
    };
    // The tool tip shows the whole path.
    c.programPath.onMouseMove = [this] { ui_.programPath.setToolTip(ui_.programPath.text()); };

    c.connectionWatch.onTick = [this] { onConnectionWatchTick(); };
    c.uploadButton.onClick = [this] { onUpload(); };
    c.dialupPasswordToggle.onClick = [this] {
        onPasswordToggle(ui_.dialupPassword, ui_.dialupPasswordToggle);
    };
    c.ftpPasswordToggle.onClick = [this] {
        onPasswordToggle(ui_.ftpPassword, ui_.ftpPasswordToggle);
    };
}

std::optional<SleepState> MainWindow::renewedSleepChoice() const {
    if (ui_.renewedSleepState[0].value()) {
        return SleepState::Hibernate;
    }
    if (ui_.renewedSleepState[1].value()) {
        return SleepState::Standby;
    }
    return std::nullopt;
}

AfterWakePlan MainWindow::afterWakePlan() const {
    const MainWindowControls& c = ui_;
    AfterWakePlan plan;
    if (c.dialupBox.ticked()) {
        plan.dialup =
            DialupLogin{c.dialupName.text(), c.dialupUser.text(), c.dialupPassword.text()};
    }
    plan.alwaysOnline = c.alwaysOnBox.ticked();
    plan.publishAddress = c.publishBox.ticked();
    plan.ftpServer = c.ftpServer.text();
    if (c.programBox.ticked()) {
        plan.program = c.programPath.text();
    }
    if (c.renewedSleepBox.ticked()) {
        plan.renewedSleep =
            RenewedSleepPlan{renewedSleepChoice(), trimmed(c.renewedSleepSpan.text())};
    }
    return plan;
}

FtpTarget MainWindow::ftpTarget() {
    const MainWindowControls& c = ui_;
    const SettingKey& tls = settings::kFtpRequireTls;
    return {ftpLogin(c.ftpServer.text(), c.ftpUser.text(), c.ftpPassword.text(),
                     c.passiveBox.value() != CheckBox::Unchecked,  // greyed counts as ticked
                     services_.settings.read(tls.application, tls.section, tls.key)),
            c.ftpFolder.text(), publisher_.documentPath(c.localFileName.text()),
            c.remoteFileName.text()};
}

}  // namespace somnar
