// Keeping the wake-up choice and the after-wake options consistent, and opening the
// options panel.

#include "app/main_window_model.h"

namespace somnar {

void Form1::optSOMNAR_Click(int index) {
    const bool wakeUp = index == 0;
    Frame1[0].setEnabled(wakeUp);
    chkActionen.setEnabled(wakeUp);
    for (Picker* picker : {&cmbDay, &cmbMonth, &cmbYear, &cmbHour, &cmbMinute}) {
        picker->setEnabled(wakeUp);
    }
    if (wakeUp) {
        return;
    }
    // Each box that was ticked runs its own rule as it is cleared.
    for (CheckBox* box : {&chkINET, &chkDSL, &chkFTP, &chkPROG, &chkSLEEPnachSOMNAR}) {
        box->setValue(CheckBox::Unchecked);
    }
}

// A ticked connection box clears the other one; the box just ticked stays ticked.
void Form1::chkINET_Click() {
    if (chkINET.ticked()) {
        chkDSL.setValue(CheckBox::Unchecked);
    }
    chkFTP.setEnabled(chkINET.ticked());
    for (Control* field :
         {static_cast<Control*>(&cmbDFUE_Name), static_cast<Control*>(&txtUser),
          static_cast<Control*>(&txtPassword), static_cast<Control*>(&cmdNormalOrPW)}) {
        field->setEnabled(chkINET.ticked());
    }
}

void Form1::chkDSL_Click() {
    if (chkDSL.ticked()) {
        chkINET.setValue(CheckBox::Unchecked);
    }
    chkFTP.setEnabled(chkDSL.ticked());
}

void Form1::chkPROG_Click() {
    Text1.setEnabled(chkPROG.ticked());
}

void Form1::chkSLEEPnachSOMNAR_Click() {
    cmbSpanne.setEnabled(chkSLEEPnachSOMNAR.ticked());
}

void Form1::chkActionen_Click() {
    window.setHeight(chkActionen.ticked() ? form1Design().fullHeight : form1Design().compactHeight);
    window.setFocus(&cmdDummy);
}

void Form1::chkFTP_Click() {
    const bool ticked = chkFTP.ticked();
    for (Control* field :
         {static_cast<Control*>(&txtServer), static_cast<Control*>(&txtDir),
          static_cast<Control*>(&txtFTP_USER), static_cast<Control*>(&txtFTP_Password),
          static_cast<Control*>(&chkPassiv), static_cast<Control*>(&cmdNormalOrPW2)}) {
        field->setEnabled(ticked);
    }
}

}  // namespace somnar
