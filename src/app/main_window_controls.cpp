#include "app/main_window_controls.h"

namespace somnar {

MainWindowControls::MainWindowControls() : registry(mainWindowDesign()) {
    registerControls();
    registry.applyDesign();
    window.setCaption(std::string(mainWindowDesign().caption));
    window.setWidth(mainWindowDesign().width);
    window.setHeight(mainWindowDesign().height);
}

void MainWindowControls::registerControls() {
    ControlRegistry& r = registry;
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

MomentTexts textsOf(const MomentPickers& pickers) {
    return {pickers.day.text(), pickers.month.text(), pickers.year.text(), pickers.hour.text(),
            pickers.minute.text()};
}

}  // namespace somnar
