// Checking a sleep request against the pickers and asking the user to confirm it.

#include "app/main_window_model.h"
#include "app/number_text.h"
#include "schedule/confirmation_text.h"
#include "schedule/picker_moment.h"

namespace somnar {
namespace {

constexpr std::string_view kPastWakeUp =
    "Die aktuelle Zeit ist grösser als die eingestellte Aufwachzeit. Deshalb wurde der Tag um "
    "eins erhöht!";
constexpr std::string_view kInvalidSleepTime =
    "Die Zeit für den Ruhe- oder Standbyzustand ist ungültig: Tag, Monat, Jahr, Stunde und "
    "Minute müssen ganze Zahlen sein und ein gültiges Datum mit Uhrzeit ergeben.";
constexpr std::string_view kSleepTimeGone =
    "Die Zeit für den Ruhe- oder Standbyzustand liegt in der Vergangenheit. Bitte eine spätere "
    "Zeit einstellen.";
constexpr std::string_view kWakeUpNotAfterSleep =
    "Die Aufwachzeit muss nach der Zeit für den Ruhe- oder Standbyzustand liegen.";
constexpr std::string_view kInvalidMinutes =
    "Die Minuten bis zum erneuten Ruhe- oder Standbyzustand müssen eine ganze Zahl von 1 bis "
    "1440 sein.";

}  // namespace

bool MainWindow::confirmRequest(const SleepRequest& request) {
    Clock& clock = services_.clock;
    const LocalDateTime now = clock.now();
    clockLine.setCaption(clock.generalDateTimeText(now));

    // Texts that give no date and time would leave nothing sound to sleep or wake by.
    const bool wakeWanted = wakeChoice[0].value();
    const bool atSleepTime = request.moment == SleepMoment::AtSleepTime;
    auto wakeUp = pickerMoment(wakeTime);
    const auto sleepAt = pickerMoment(sleepTime);
    if (wakeWanted && !wakeUp) {
        showWarning(kInvalidWakeUp);
        return false;
    }
    if (atSleepTime && !sleepAt) {
        showWarning(kInvalidSleepTime);
        return false;
    }
    if (renewedSleepBox.ticked() && !renewedSleepMinutes(renewedSleepSpan.text())) {
        showWarning(kInvalidMinutes);
        return false;
    }
    // The present minute still comes due at the first tick; an earlier one never would.
    if (atSleepTime && isBefore(*sleepAt, startOfMinute(now))) {
        showWarning(kSleepTimeGone);
        return false;
    }

    // A wake-up moment already gone by moves to tomorrow; the pickers show it. When the user
    // does not accept that, the day picker shows today's day (as a plain number) and month
    // and year take their texts back.
    if (wakeWanted && isBefore(*wakeUp, now)) {
        const LocalDateTime tomorrow = wakeUpAfter(now, *wakeUp);
        const std::string month = wakeTime.month.text();
        const std::string year = wakeTime.year.text();
        wakeTime.day.setText(std::to_string(tomorrow.day));
        if (tomorrow.month != wakeUp->month) {
            wakeTime.month.setText(twoDigits(tomorrow.month));
        }
        if (tomorrow.year != wakeUp->year) {
            wakeTime.year.setText(fourDigits(tomorrow.year));
        }
        const MessageAnswer answer =
            services_.dialogs.showMessage({std::string(kPastWakeUp), std::string(kApplicationTitle),
                                           MessageButtons::OkCancel, MessageIcon::Warning});
        if (answer != MessageAnswer::Ok) {
            wakeTime.day.setText(std::to_string(now.day));
            wakeTime.month.setText(month);
            wakeTime.year.setText(year);
            return false;
        }
        wakeUp = tomorrow;
    }
    // A wake-up before the sleep would be gone by the time the machine sleeps.
    if (wakeWanted && atSleepTime && !isBefore(*sleepAt, *wakeUp)) {
        showWarning(kWakeUpNotAfterSleep);
        return false;
    }

    std::string text = confirmationText(
        request.state, atSleepTime ? std::optional(momentText(*sleepAt, sleepTime)) : std::nullopt,
        wakeWanted ? std::optional(momentText(*wakeUp, wakeTime)) : std::nullopt, afterWakePlan());
    const MessageAnswer answer =
        services_.dialogs.showMessage({text, services_.program.programName(),
                                       MessageButtons::OkCancel, MessageIcon::Information});
    sleeper.remember(std::move(text), answer == MessageAnswer::Ok);
    return sleeper.confirmed();
}

}  // namespace somnar
