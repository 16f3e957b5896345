// publish_bench SERVER USER PASSWORD FOLDER RUNS
// Publications as the running program does them after waking, without a window: the
// address lookup, ip.html, and the upload with its four stored values. Prints the
// microseconds of each publication, one a line.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/main_window_model.h"
#include "platform/curl/curl_ftp_client.h"
#include "platform/linux/check/linux_failure_texts.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/linux_connectivity.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_program_info.h"
#include "platform/linux/qsettings_store.h"
#include "platform/linux/system_clock.h"

namespace {

// The seams a publication does not touch, and message boxes that print instead.
struct Unused : somnar::Dialogs,
                somnar::Desktop,
                somnar::InstanceGuard,
                somnar::PowerManager,
                somnar::Dialer,
                somnar::TrayIcon,
                somnar::WakeAlarm,
                somnar::ProgramStarter,
                somnar::FileDialog,
                somnar::Notifier {
    somnar::MessageAnswer showMessage(const somnar::MessageBox& box) override {
        std::cerr << box.title << ": " << box.text << '\n';
        return somnar::MessageAnswer::Ok;
    }
    int screenWidthTwips() const override { return 0; }
    int screenHeightTwips() const override { return 0; }
    bool acquire() override { return true; }
    bool canHibernate() override { return false; }
    bool canSuspend() override { return false; }
    std::optional<std::string> sleepAnswer(somnar::SleepState) override { return std::nullopt; }
    somnar::SleepResult sleep(somnar::SleepState, const std::function<void()>&) override {
        return {somnar::SleepOutcome::NoService, {}};
    }
    void keepAwake() override {}
    std::vector<std::string> listEntries() override { return {}; }
    somnar::DialResult dial(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void prepare(const std::string&) override {}
    void add() override {}
    void remove() override {}
    bool available() override { return false; }
    somnar::AlarmResult arm(somnar::SleepState, std::chrono::sys_seconds) override { return {}; }
    somnar::StartResult startDetached(const std::string&) override { return {}; }
    std::optional<somnar::ChosenFile> askOpenFileName(
        const std::string&, const std::string&, const std::vector<somnar::FileFilter>&) override {
        return std::nullopt;
    }
    void notify(const std::string&, const std::string&) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::cerr << "usage: publish_bench SERVER USER PASSWORD FOLDER RUNS\n";
        return 2;
    }
    const int runs = std::atoi(argv[5]);
    Unused unused;
    somnar::SystemClock clock;
    somnar::LinuxProgramInfo program(argv[0]);
    somnar::QSettingsStore settings;
    somnar::LinuxConnectivity connectivity;
    somnar::LinuxHostAddress hostAddress;
    somnar::LinuxFiles files;
    somnar::CurlFtpClient ftp;
    somnar::JournalLog log;
    const somnar::LinuxFailureTexts texts;
    somnar::Services services{clock,    unused, unused, program, unused, unused,       unused,
                              settings, unused, unused, unused,  unused, connectivity, hostAddress,
                              files,    ftp,    log,    unused,  texts};
    somnar::InfoWindow info(services);
    somnar::MainWindowControls form;
    somnar::MainWindow window(services, info, form);
    somnar::Publisher publisher({connectivity, hostAddress, files, program, clock, ftp});
    form.ftpServer.setText(argv[1]);
    form.ftpUser.setText(argv[2]);
    form.ftpPassword.setText(argv[3]);
    form.ftpFolder.setText(argv[4]);
    form.passiveBox.setValue(1);

    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        form.ipAddressLine.setCaption(publisher.localIpAddress().address);
        publisher.writeDocument(form.ipAddressLine.caption());
        form.ftpStatus.setCaption("");
        form.uploadButton.setValue(true);
        const auto took = std::chrono::steady_clock::now() - start;
        std::printf("%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    }
    return 0;
}
