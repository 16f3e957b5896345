// Keeping the wake-up choice and the after-wake options consistent, and opening the
// options panel.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onWakeChoice(int index) {
    const bool wakeUp = index == 0;
    optionFrames[0].setEnabled(wakeUp);
    optionsBox.setEnabled(wakeUp);
    for (Picker* picker :
         {&wakeTime.day, &wakeTime.month, &wakeTime.year, &wakeTime.hour, &wakeTime.minute}) {
        picker->setEnabled(wakeUp);
    }
    if (wakeUp) {
        return;
    }
    // Each box that was ticked runs its own rule as it is cleared.
    for (CheckBox* box : {&dialupBox, &alwaysOnBox, &publishBox, &programBox, &renewedSleepBox}) {
        box->setValue(CheckBox::Unchecked);
    }
}

// A ticked connection box clears the other one; the box just ticked stays ticked.
void MainWindow::onDialupTicked() {
    if (dialupBox.ticked()) {
        alwaysOnBox.setValue(CheckBox::Unchecked);
    }
    publishBox.setEnabled(dialupBox.ticked());
    for (Control* field :
         {static_cast<Control*>(&dialupName), static_cast<Control*>(&dialupUser),
          static_cast<Control*>(&dialupPassword), static_cast<Control*>(&dialupPasswordToggle)}) {
        field->setEnabled(dialupBox.ticked());
    }
}

void MainWindow::onAlwaysOnTicked() {
    if (alwaysOnBox.ticked()) {
        dialupBox.setValue(CheckBox::Unchecked);
    }
    publishBox.setEnabled(alwaysOnBox.ticked());
}

void MainWindow::onProgramTicked() {
    programPath.setEnabled(programBox.ticked());
}

void MainWindow::onRenewedSleepTicked() {
    renewedSleepSpan.setEnabled(renewedSleepBox.ticked());
}

void MainWindow::onOptionsTicked() {
    window.setHeight(optionsBox.ticked() ? mainWindowDesign().fullHeight
                                         : mainWindowDesign().compactHeight);
    window.setFocus(&focusSink);
}

void MainWindow::onPublishTicked() {
    const bool ticked = publishBox.ticked();
    for (Control* field :
         {static_cast<Control*>(&ftpServer), static_cast<Control*>(&ftpFolder),
          static_cast<Control*>(&ftpUser), static_cast<Control*>(&ftpPassword),
          static_cast<Control*>(&passiveBox), static_cast<Control*>(&ftpPasswordToggle)}) {
        field->setEnabled(ticked);
    }
}

}  // namespace somnar
