// Checking a sleep request against the pickers and asking the user to confirm it.

#include "app/main_window_model.h"
#include "common/number_text.h"
#include "schedule/confirmation_text.h"
#include "schedule/request_check.h"

namespace somnar {

RequestInput MainWindow::requestInput(const SleepRequest& request) const {
    const MainWindowControls& c = ui_;
    RequestInput input{request, c.wakeChoice[0].value(), textsOf(c.sleepTime), textsOf(c.wakeTime),
                       std::nullopt};
    if (c.renewedSleepBox.ticked()) {
        input.renewedMinutes = c.renewedSleepSpan.text();
    }
    return input;
}

// The pickers show tomorrow's wake-up while the user is asked. When the user does not
// accept it, the day picker shows today's day (as a plain number) and month and year take
// their texts back.
bool MainWindow::acceptTomorrow(const LocalDateTime& now, const LocalDateTime& tomorrow) {
    MomentPickers& wakeTime = ui_.wakeTime;
    const std::string month = wakeTime.month.text();
    const std::string year = wakeTime.year.text();
    const auto shown = pickerMoment(textsOf(wakeTime));
    wakeTime.day.setText(std::to_string(tomorrow.day));
    if (shown && tomorrow.month != shown->month) {
        wakeTime.month.setText(twoDigits(tomorrow.month));
    }
    if (shown && tomorrow.year != shown->year) {
        wakeTime.year.setText(fourDigits(tomorrow.year));
    }
    const MessageAnswer answer = services_.dialogs.showMessage(
        {std::string(kWakeUpMovedText), std::string(kApplicationTitle), MessageButtons::OkCancel,
         MessageIcon::Warning});
    if (answer == MessageAnswer::Ok) {
        return true;
    }
    wakeTime.day.setText(std::to_string(now.day));
    wakeTime.month.setText(month);
    wakeTime.year.setText(year);
    return false;
}

bool MainWindow::confirmRequest(const SleepRequest& request) {
    const Clock& clock = services_.clock;
    const LocalDateTime now = clock.now();
    ui_.clockLine.setCaption(clock.generalDateTimeText(now));

    const RequestInput input = requestInput(request);
    RequestAnswer answer = checkRequest(input, now);
    if (answer.kind == RequestAnswer::Kind::WakeUpGoneBy) {
        if (!acceptTomorrow(now, *answer.wakeUp)) {
            return false;
        }
        answer = checkRequest(input, now, true);
    }
    if (answer.kind == RequestAnswer::Kind::Refuse) {
        showWarning(answer.refusal);
        return false;
    }

    // The sentence shows the moments as the pickers show them.
    const MomentTexts sleepTexts = textsOf(ui_.sleepTime);
    const MomentTexts wakeTexts = textsOf(ui_.wakeTime);
    std::string text = confirmationText(
        request.state,
        answer.sleepAt ? std::optional(momentText(*answer.sleepAt, sleepTexts)) : std::nullopt,
        answer.wakeUp ? std::optional(momentText(*answer.wakeUp, wakeTexts)) : std::nullopt,
        afterWakePlan());
    const MessageAnswer confirmed =
        services_.dialogs.showMessage({text, services_.program.programName(),
                                       MessageButtons::OkCancel, MessageIcon::Information});
    schedule_.answer(std::move(text), confirmed == MessageAnswer::Ok);
    return schedule_.confirmed();
}

}  // namespace somnar
