// Start-up of the main window: runs once, before the window is first shown.

#include <exception>

#include "app/main_window_model.h"
#include "app/number_text.h"
#include "app/settings_keys.h"

namespace somnar {
namespace {

constexpr int kLastListedYear = 2100;
constexpr int kMinutesPerDay = 24 * 60;
constexpr const char* kTrayTip = "Somnar Scheduler";

// A step that fails is skipped; the next one runs.
template <typename Step>
void runStep(Log& log, const char* what, Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        log.write(LogLevel::Warning,
                  std::string("start-up step skipped (") + what + "): " + error.what());
    }
}

struct HourMinute {
    std::string hour;
    std::string minute;
};

// The time of day some minutes ahead; it wraps past midnight, the date does not move.
HourMinute minutesAhead(const LocalDateTime& now, int minutes) {
    const int total = (now.hour * 60 + now.minute + minutes) % kMinutesPerDay;
    return {twoDigits(total / 60), twoDigits(total % 60)};
}

void fillNumbers(Picker& picker, int first, int last, std::string (*format)(int)) {
    for (int number = first; number <= last; ++number) {
        picker.addItem(format(number));
    }
}

void fillDate(Picker& day, Picker& month, Picker& year, const LocalDateTime& now) {
    fillNumbers(year, now.year, kLastListedYear, fourDigits);
    year.setText(fourDigits(now.year));
    fillNumbers(day, 1, 31, twoDigits);
    day.setText(twoDigits(now.day));
    fillNumbers(month, 1, 12, twoDigits);
    month.setText(twoDigits(now.month));
}

void fillTime(Picker& hour, Picker& minute, const HourMinute& preset) {
    fillNumbers(hour, 0, 23, twoDigits);
    hour.setText(preset.hour);
    fillNumbers(minute, 0, 59, twoDigits);
    minute.setText(preset.minute);
}

// "ja" or "nein", and the commands of a sleep state the machine lacks disabled; its
// renewed-sleep option is no longer chosen either.
void showSleepState(bool possible, Label& answer, CommandButton& now, OptionButton& renewed,
                    CommandButton& timed) {
    answer.setCaption(possible ? "ja" : "nein");
    now.setEnabled(possible);
    renewed.setEnabled(possible);
    if (!possible) {
        renewed.setValue(false);
    }
    timed.setEnabled(possible);
}

}  // namespace

void MainWindow::listDialupConnections() {
    for (std::string& name : services_.dialer.listEntries()) {
        dialupName.addItem(std::move(name));
    }
    dialupName.setListIndex(0);  // an empty list keeps the picker without a selection
}

StartOutcome MainWindow::load() {
    if (!services_.instance.acquire()) {
        return StartOutcome::SecondCopy;
    }
    Clock& clock = services_.clock;
    Log& log = services_.log;

    runStep(log, "status line", [&] { statusLine.setCaption(""); });
    HourMinute wakePreset;
    runStep(log, "wake-up preset", [&] { wakePreset = minutesAhead(clock.now(), 10); });
    runStep(log, "centre", [&] {
        window.move((services_.desktop.screenWidthTwips() - window.width()) / 2,
                    (services_.desktop.screenHeightTwips() - window.height()) / 2);
    });
    runStep(log, "compact view", [&] { window.setHeight(mainWindowDesign().compactHeight); });
    runStep(log, "clock", [&] { clockLine.setCaption(clock.generalDateTimeText(clock.now())); });
    runStep(log, "wake-up pickers", [&] {
        fillDate(wakeTime.day, wakeTime.month, wakeTime.year, clock.now());
        fillTime(wakeTime.hour, wakeTime.minute, wakePreset);
    });
    runStep(log, "renewed-sleep minutes", [&] {
        fillNumbers(renewedSleepSpan, 1, 1440, rightAligned4);
        renewedSleepSpan.setText("  20");
    });
    runStep(log, "sleep-time pickers", [&] {
        fillDate(sleepTime.day, sleepTime.month, sleepTime.year, clock.now());
        fillTime(sleepTime.hour, sleepTime.minute, minutesAhead(clock.now(), 5));
    });
    runStep(log, "hibernation check", [&] {
        canHibernate_ = services_.power.canHibernate();
        showSleepState(canHibernate_, hibernateAvailable, hibernateNowButton, renewedSleepState[0],
                       timedSleepButtons[0]);
    });
    runStep(log, "standby check", [&] {
        canSuspend_ = services_.power.canSuspend();
        showSleepState(canSuspend_, standbyAvailable, standbyNowButton, renewedSleepState[1],
                       timedSleepButtons[1]);
    });
    runStep(log, "dial-up list", [&] { listDialupConnections(); });
    runStep(log, "stored values", [&] {
        SettingsStore& store = services_.settings;
        auto read = [&store](const SettingKey& at) {
            return store.read(at.application, at.section, at.key);
        };
        dialupName.setText(read(settings::kDialupName));
        dialupUser.setText(read(settings::kDialupUser));
        dialupPassword.setText(read(settings::kDialupPassword));
        ftpServer.setText(read(settings::kFtpServer));
        ftpUser.setText(read(settings::kFtpUser));
        ftpPassword.setText(read(settings::kFtpPassword));
        ftpFolder.setText(read(settings::kFtpDirectory));
    });
    runStep(log, "file names", [&] {
        localFileName.setText("ip.html");
        remoteFileName.setText("ip.html");
    });
    runStep(log, "notification-area icon", [&] { services_.tray.prepare(kTrayTip); });
    // The task-list entry stays: on Linux desktops it is how a window without a
    // notification area is found again.
    window.setLoaded(true);
    return StartOutcome::Shown;
}

}  // namespace somnar
