#include "app/main_window_model.h"

namespace somnar {

Form1::Form1(Services& services, FrmInfo& frmInfo)
    : services_(services), frmInfo_(frmInfo), registry_(form1Design()) {
    registerControls();
    registry_.applyDesign();
    window.setCaption(std::string(form1Design().caption));
    window.setWidth(form1Design().width);
    window.setHeight(form1Design().height);
    wireHandlers();
}

Form1::~Form1() {
    services_.tray.onClick = nullptr;
}

void Form1::registerControls() {
    ControlRegistry& r = registry_;
    r.add(Label27, "Label27");
    r.add(Label4, "Label4");
    r.add(Frame4, "Frame4");
    r.addArray(Frame1, "Frame1");
    r.add(Frame2, "Frame2");
    r.add(Label26, "Label26");
    r.add(cmdTray, "cmdTray");
    r.add(cmdReset, "cmdReset");
    r.add(cmdParameterInfo, "cmdParameterInfo");
    r.add(cmdInfo, "cmdInfo");
    r.add(chkActionen, "chkActionen");
    r.add(Label9, "Label9");
    r.add(lbHibernate, "lbHibernate");
    r.add(Label10, "Label10");
    r.add(lbSuspend, "lbSuspend");
    r.add(Line1, "Line1");

    r.add(Label23, "Label23");
    r.add(Label22, "Label22");
    r.addArray(Label21, "Label21");
    r.add(cmbDay_aus, "cmbDay_aus");
    r.add(cmbMonth_aus, "cmbMonth_aus");
    r.add(cmbYear_aus, "cmbYear_aus");
    r.addArray(Line5, "Line5");
    r.add(Label25, "Label25");
    r.add(Label24, "Label24");
    r.add(cmbHour_aus, "cmbHour_aus");
    r.add(cmbMinute_aus, "cmbMinute_aus");
    r.addArray(cmdRS_aus, "cmdRS_aus");
    r.addArray(Picture2, "Picture2");
    r.addArray(Picture1, "Picture1");
    r.add(Frame5, "Frame5");
    r.add(cmdHibernate, "cmdHibernate");
    r.add(cmdSuspend, "cmdSuspend");

    r.add(Label19, "Label19");
    r.add(Label20, "Label20");
    r.add(cmbDay, "cmbDay");
    r.add(cmbMonth, "cmbMonth");
    r.add(cmbYear, "cmbYear");
    r.add(Label1, "Label1");
    r.add(Label2, "Label2");
    r.add(cmbHour, "cmbHour");
    r.addArray(Label3, "Label3");
    r.add(cmbMinute, "cmbMinute");

    r.addArray(optSOMNAR, "optSOMNAR");

    r.add(chkINET, "chkINET");
    r.add(chkDSL, "chkDSL");
    r.add(Label6, "Label6");
    r.add(cmbDFUE_Name, "cmbDFUE_Name");
    r.add(Label7, "Label7");
    r.add(txtUser, "txtUser");
    r.add(Label8, "Label8");
    r.add(txtPassword, "txtPassword");
    r.add(cmdNormalOrPW, "cmdNormalOrPW");
    r.add(Command4, "Command4");
    r.add(Line4, "Line4");

    r.add(chkFTP, "chkFTP");
    r.add(Label13, "Label13");
    r.add(lblIP, "lblIP");
    r.add(Label15, "Label15");
    r.add(txtServer, "txtServer");
    r.add(Label14, "Label14");
    r.add(txtDir, "txtDir");
    r.add(Label16, "Label16");
    r.add(txtFTP_USER, "txtFTP_USER");
    r.add(txtFTP_Password, "txtFTP_Password");
    r.add(cmdNormalOrPW2, "cmdNormalOrPW2");
    r.add(chkPassiv, "chkPassiv");
    r.add(Label11, "Label11");
    r.add(Status, "Status");
    r.add(Label17, "Label17");
    r.add(TxtFile, "TxtFile");
    r.add(Label18, "Label18");
    r.add(TxtFileR, "TxtFileR");
    r.add(cmdFTP_PUT, "cmdFTP_PUT");
    r.add(tmrIP, "tmrIP");

    r.add(Line2, "Line2");
    r.add(chkPROG, "chkPROG");
    r.add(cmdOpenExe, "cmdOpenExe");
    r.add(Label5, "Label5");
    r.add(Text1, "Text1");
    r.add(Line3, "Line3");

    r.add(chkSLEEPnachSOMNAR, "chkSLEEPnachSOMNAR");
    r.add(Frame3, "Frame3");
    r.addArray(Option1, "Option1");
    r.add(Label12, "Label12");
    r.add(cmbSpanne, "cmbSpanne");
    r.add(Timer1, "Timer1");

    r.add(tmrAktZeit, "tmrAktZeit");
    r.add(tmrRuhe, "tmrRuhe");
    r.add(tmrStandby, "tmrStandby");
    r.add(cmdDummy, "cmdDummy");

    r.add(mnuPopUp, "mnuPopUp");
    r.add(mnuCountdown, "mnuCountdown");
    r.add(mnuAnzeige, "mnuAnzeige");
}

void Form1::wireHandlers() {
    cmdInfo.onClick = [this] { cmdInfo_Click(); };
    cmdHibernate.onClick = [this] { cmdHibernate_Click(); };
    cmdSuspend.onClick = [this] { cmdSuspend_Click(); };
    for (int i = 0; i < 2; ++i) {
        cmdRS_aus[i].onClick = [this, i] { cmdRS_aus_Click(i); };
    }
    for (int i = 1; i <= 2; ++i) {
        Picture1[i].onClick = [this, i] { Picture1_Click(i); };
        Picture2[i].onClick = [this, i] { Picture2_Click(i); };
    }
    tmrRuhe.onTick = [this] { tmrRuhe_Timer(); };
    tmrStandby.onTick = [this] { tmrStandby_Timer(); };
    tmrAktZeit.onTick = [this] { tmrAktZeit_Timer(); };
    Timer1.onTick = [this] { Timer1_Timer(); };

    for (int i = 0; i < 2; ++i) {
        optSOMNAR[i].onClick = [this, i] { optSOMNAR_Click(i); };
    }
    chkINET.onClick = [this] { chkINET_Click(); };
    chkDSL.onClick = [this] { chkDSL_Click(); };
    chkPROG.onClick = [this] { chkPROG_Click(); };
    chkSLEEPnachSOMNAR.onClick = [this] { chkSLEEPnachSOMNAR_Click(); };
    chkActionen.onClick = [this] { chkActionen_Click(); };
    chkFTP.onClick = [this] { chkFTP_Click(); };

    cmdParameterInfo.onClick = [this] { cmdParameterInfo_Click(); };
    mnuCountdown.onClick = [this] { mnuCountdown_Click(); };
    cmdReset.onClick = [this] { cmdReset_Click(); };

    Command4.onClick = [this] { Command4_Click(); };

    cmdTray.onClick = [this] { cmdTray_Click(); };
    mnuAnzeige.onClick = [this] { mnuAnzeige_Click(); };
    services_.tray.onClick = [this](TrayClick click) { trayIcon_Click(click); };

    cmdOpenExe.onClick = [this] { cmdOpenExe_Click(); };
    Text1.onFilesDropped = [this](const std::vector<std::string>& files) {
        Text1_OLEDragDrop(files);
    };
    Text1.onMouseMove = [this] { Text1_MouseMove(); };

    tmrIP.onTick = [this] { tmrIP_Timer(); };
    cmdFTP_PUT.onClick = [this] { cmdFTP_PUT_Click(); };
    cmdNormalOrPW.onClick = [this] { cmdNormalOrPW_Click(); };
    cmdNormalOrPW2.onClick = [this] { cmdNormalOrPW2_Click(); };
}

void Form1::cmdInfo_Click() {
    frmInfo_.open();
}

}  // namespace somnar
