// Start-up of the main window: runs once, before the window is first shown.

#include <exception>

#include "app/main_window_model.h"
#include "common/number_text.h"
#include "common/settings_keys.h"
#include "platform/startup_steps.h"
#include "schedule/picker_moment.h"

namespace somnar {
namespace {

constexpr int kLastListedYear = 2100;
constexpr int kMinutesPerDay = 24 * 60;
constexpr const char* kTrayTip = "Somnar Scheduler";

// A step that fails is skipped; the next one runs.
template <typename Step>
void runStep(Log& log, const char* what, Step&& step) {
    SOMNAR_STARTUP_STEP(what);
    try {
        step();
    } catch (const std::exception& error) {
        log.write(LogLevel::Warning,
                  std::string("start-up step skipped (") + what + "): " + error.what());
    }
}

// The minute some minutes ahead: past midnight the date moves on with the time, so the
// presets still lie ahead.
LocalDateTime minutesAhead(const LocalDateTime& now, int minutes) {
    const int total = now.hour * 60 + now.minute + minutes;
    LocalDateTime ahead = total < kMinutesPerDay ? now : nextDay(now);
    ahead.hour = (total % kMinutesPerDay) / 60;
    ahead.minute = total % 60;
    return ahead;
}

void fillNumbers(Picker& picker, int first, int last, std::string (*format)(int)) {
    for (int number = first; number <= last; ++number) {
        picker.addItem(format(number));
    }
}

// The year list starts with the present year; the date shown is the preset's.
void fillDate(MomentPickers& pickers, const LocalDateTime& now, const LocalDateTime& preset) {
    fillNumbers(pickers.year, now.year, kLastListedYear, fourDigits);
    pickers.year.setText(fourDigits(preset.year));
    fillNumbers(pickers.day, 1, 31, twoDigits);
    pickers.day.setText(twoDigits(preset.day));
    fillNumbers(pickers.month, 1, 12, twoDigits);
    pickers.month.setText(twoDigits(preset.month));
}

void fillTime(MomentPickers& pickers, const LocalDateTime& preset) {
    fillNumbers(pickers.hour, 0, 23, twoDigits);
    pickers.hour.setText(twoDigits(preset.hour));
    fillNumbers(pickers.minute, 0, 59, twoDigits);
    pickers.minute.setText(twoDigits(preset.minute));
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
        ui_.dialupName.addItem(std::move(name));
    }
    ui_.dialupName.setListIndex(0);  // an empty list keeps the picker without a selection
}

StartOutcome MainWindow::load() {
    if (!services_.instance.acquire()) {
        return StartOutcome::SecondCopy;
    }
    Clock& clock = services_.clock;
    Log& log = services_.log;

    runStep(log, "status line", [&] { ui_.statusLine.setCaption(""); });
    LocalDateTime wakePreset = clock.now();
    runStep(log, "wake-up preset", [&] { wakePreset = minutesAhead(wakePreset, 10); });
    runStep(log, "centre", [&] {
        ui_.window.move((services_.desktop.screenWidthTwips() - ui_.window.width()) / 2,
                        (services_.desktop.screenHeightTwips() - ui_.window.height()) / 2);
    });
    runStep(log, "compact view", [&] { ui_.window.setHeight(mainWindowDesign().compactHeight); });
    runStep(log, "clock",
            [&] { ui_.clockLine.setCaption(clock.generalDateTimeText(clock.now())); });
    runStep(log, "wake-up pickers", [&] {
        fillDate(ui_.wakeTime, clock.now(), wakePreset);
        fillTime(ui_.wakeTime, wakePreset);
    });
    runStep(log, "renewed-sleep minutes", [&] {
        fillNumbers(ui_.renewedSleepSpan, 1, 1440, rightAligned4);
        ui_.renewedSleepSpan.setText("  20");
    });
    runStep(log, "sleep-time pickers", [&] {
        const LocalDateTime now = clock.now();
        const LocalDateTime preset = minutesAhead(now, 5);
        fillDate(ui_.sleepTime, now, preset);
        fillTime(ui_.sleepTime, preset);
    });
    runStep(log, "hibernation check", [&] {
        canHibernate_ = services_.power.canHibernate();
        showSleepState(canHibernate_, ui_.hibernateAvailable, ui_.hibernateNowButton,
                       ui_.renewedSleepState[0], ui_.timedSleepButtons[0]);
    });
    runStep(log, "standby check", [&] {
        canSuspend_ = services_.power.canSuspend();
        showSleepState(canSuspend_, ui_.standbyAvailable, ui_.standbyNowButton,
                       ui_.renewedSleepState[1], ui_.timedSleepButtons[1]);
    });
    runStep(log, "dial-up list", [&] { listDialupConnections(); });
    runStep(log, "stored values", [&] {
        SettingsStore& store = services_.settings;
        auto read = [&store](const SettingKey& at) {
            return store.read(at.application, at.section, at.key);
        };
        ui_.dialupName.setText(read(settings::kDialupName));
        ui_.dialupUser.setText(read(settings::kDialupUser));
        ui_.dialupPassword.setText(read(settings::kDialupPassword));
        ui_.ftpServer.setText(read(settings::kFtpServer));
        ui_.ftpUser.setText(read(settings::kFtpUser));
        ui_.ftpPassword.setText(read(settings::kFtpPassword));
        ui_.ftpFolder.setText(read(settings::kFtpDirectory));
    });
    runStep(log, "file names", [&] {
        ui_.localFileName.setText("ip.html");
        ui_.remoteFileName.setText("ip.html");
    });
    runStep(log, "notification-area icon", [&] { services_.tray.prepare(kTrayTip); });
    // The task-list entry stays: on Linux desktops it is how a window without a
    // notification area is found again.
    ui_.window.setLoaded(true);
    return StartOutcome::Shown;
}

}  // namespace somnar
