// Keeping the wake-up choice and the after-wake options consistent, and opening the
// options panel.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onWakeChoice(int index) {
    const bool wakeUp = index == 0;
    ui_.optionFrames[0].setEnabled(wakeUp);
    ui_.optionsBox.setEnabled(wakeUp);
    for (Picker* picker : {&ui_.wakeTime.day, &ui_.wakeTime.month, &ui_.wakeTime.year,
                           &ui_.wakeTime.hour, &ui_.wakeTime.minute}) {
        picker->setEnabled(wakeUp);
    }
    if (wakeUp) {
        return;
    }
    // Each box that was ticked runs its own rule as it is cleared.
    for (CheckBox* box : {&ui_.dialupBox, &ui_.alwaysOnBox, &ui_.publishBox, &ui_.programBox,
                          &ui_.renewedSleepBox}) {
        box->setValue(CheckBox::Unchecked);
    }
}

// A ticked connection box clears the other one; the box just ticked stays ticked.
void MainWindow::onDialupTicked() {
    if (ui_.dialupBox.ticked()) {
        ui_.alwaysOnBox.setValue(CheckBox::Unchecked);
    }
    ui_.publishBox.setEnabled(ui_.dialupBox.ticked());
    for (Control* field :
         {static_cast<Control*>(&ui_.dialupName), static_cast<Control*>(&ui_.dialupUser),
          static_cast<Control*>(&ui_.dialupPassword),
          static_cast<Control*>(&ui_.dialupPasswordToggle)}) {
        field->setEnabled(ui_.dialupBox.ticked());
    }
}

void MainWindow::onAlwaysOnTicked() {
    if (ui_.alwaysOnBox.ticked()) {
        ui_.dialupBox.setValue(CheckBox::Unchecked);
    }
    ui_.publishBox.setEnabled(ui_.alwaysOnBox.ticked());
}

void MainWindow::onOptionsTicked() {
    ui_.window.setHeight(ui_.optionsBox.ticked() ? mainWindowDesign().fullHeight
                                                 : mainWindowDesign().compactHeight);
    ui_.window.setFocus(&ui_.focusSink);
}

void MainWindow::onPublishTicked() {
    const bool ticked = ui_.publishBox.ticked();
    for (Control* field :
         {static_cast<Control*>(&ui_.ftpServer), static_cast<Control*>(&ui_.ftpFolder),
          static_cast<Control*>(&ui_.ftpUser), static_cast<Control*>(&ui_.ftpPassword),
          static_cast<Control*>(&ui_.passiveBox), static_cast<Control*>(&ui_.ftpPasswordToggle)}) {
        field->setEnabled(ticked);
    }
}

}  // namespace somnar
