// Checking a sleep request and asking the user to confirm it.

#include <array>

#include "app/main_window_model.h"
#include "app/number_text.h"
#include "schedule/picker_moment.h"
#include "schedule/sleep_request.h"

namespace somnar {
namespace {

const std::string kCrLf = "\r\n";

constexpr std::array<std::string_view, 7> kWeekdayNames{
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Sonnabend"};

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

// Weekday name, ", ", day.month.year, " ", hour:minute, the pickers' texts as they stand.
std::string describe(const LocalDateTime& moment, const MomentPickers& pickers) {
    const auto& [day, month, year, hour, minute] = pickers;
    return std::string(kWeekdayNames.at(static_cast<std::size_t>(weekdayNumber(moment) - 1))) +
           ", " + day.text() + "." + month.text() + "." + year.text() + " " + hour.text() + ":" +
           minute.text();
}

}  // namespace

std::optional<int> MainWindow::renewedSleepMinutes() const {
    const auto minutes = wholeNumber(renewedSleepSpan.text());
    if (!minutes || *minutes < 1 || *minutes > 1440) {
        return std::nullopt;
    }
    return minutes;
}

bool MainWindow::confirmRequest(std::string_view mode, std::string_view moment) {
    Clock& clock = services_.clock;
    const LocalDateTime now = clock.now();
    clockLine.setCaption(clock.generalDateTimeText(now));

    // Texts that give no date and time would leave nothing sound to sleep or wake by.
    const bool wakeWanted = wakeChoice[0].value();
    const bool atSleepTime = moment == kAtSleepTime;
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
    if (renewedSleepBox.ticked() && !renewedSleepMinutes()) {
        showWarning(kInvalidMinutes);
        return false;
    }

    // The present minute still comes due at the first tick; an earlier one never would.
    if (atSleepTime && isBefore(*sleepAt, startOfMinute(now))) {
        showWarning(kSleepTimeGone);
        return false;
    }

    // A wake-up moment already gone by moves to tomorrow, across month and year ends.
    if (wakeWanted && isBefore(*wakeUp, now)) {
        const std::string day = wakeTime.day.text();
        const std::string month = wakeTime.month.text();
        const std::string year = wakeTime.year.text();
        const LocalDateTime tomorrow = nextDay(now);
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
            wakeTime.day.setText(day);
            wakeTime.month.setText(month);
            wakeTime.year.setText(year);
            return false;
        }
        wakeUp->year = tomorrow.year;
        wakeUp->month = tomorrow.month;
        wakeUp->day = tomorrow.day;
    }
    // A wake-up before the sleep would be gone by the time the machine sleeps.
    if (wakeWanted && atSleepTime && !isBefore(*sleepAt, *wakeUp)) {
        showWarning(kWakeUpNotAfterSleep);
        return false;
    }

    const std::string word(stateWord(requestedState(mode)));
    std::string moment_phrase = "jetzt";
    if (atSleepTime) {
        moment_phrase = "am " + describe(*sleepAt, sleepTime);
    }
    std::string text = "Der Rechner wird " + moment_phrase + " in den " + word + " versetzt.";
    if (wakeWanted) {
        text +=
            " Er wird am " + describe(*wakeUp, wakeTime) + " wieder aus dem " + word + " erweckt.";
    } else {
        text += " Der Rechner wird nicht wieder aus dem " + word + " erweckt.";
    }
    if (dialupBox.ticked()) {
        text +=
            " Danach wird eine Verbindung in das Internet hergestellt (" + dialupName.text() + ").";
    }
    if (publishBox.ticked()) {
        text += kCrLf +
                "Nachdem die Internetverbindung hergestellt ist, wir die vergebene IP-Adresse "
                "per FTP an den Server " +
                ftpServer.text() + " geschickt (ip.html)";
    }
    if (programBox.ticked() && !programPath.text().empty()) {
        text += kCrLf + "Nach dem Aufwachen wird das Programm/Batchdatei " + programPath.text() +
                " gestartet.";
    }
    if (renewedSleepBox.ticked()) {
        const std::string minutes = trimmed(renewedSleepSpan.text());
        if (renewedSleepState[0].value()) {
            text += kCrLf + "Nach dem Aufwachen wird nach " + minutes +
                    " Minuten wieder der Ruhezustand eingeleitet.";
        }
        if (renewedSleepState[1].value()) {
            text += kCrLf + "Nach dem Aufwachen wird nach " + minutes +
                    " Minuten wieder der Standbyzustand eingeleitet.";
        }
    }
    confirmationText = text;

    const MessageAnswer answer =
        services_.dialogs.showMessage({confirmationText, services_.program.programName(),
                                       MessageButtons::OkCancel, MessageIcon::Information});
    confirmed = answer == MessageAnswer::Ok;
    return confirmed;
}

}  // namespace somnar
