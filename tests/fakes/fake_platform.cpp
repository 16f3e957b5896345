#include "fakes/fake_platform.h"

#include <cstdio>

namespace somnar::testing {

std::string FakeClock::generalDateTimeText(const LocalDateTime& when) const {
    const auto& [year, month, day, hour, minute, second] = when;
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", day, month, year, hour,
                  minute, second);
    return hour == 0 && minute == 0 && second == 0 ? std::string(text, 10) : std::string(text);
}

std::chrono::sys_seconds utc(int year, int month, int day, int hour, int minute) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute};
}

LocalDateTime FakeClock::now() const {
    using namespace std::chrono;
    const sys_seconds local = floor<seconds>(at) + hours{1};
    const sys_days date = floor<days>(local);
    const year_month_day ymd{date};
    const hh_mm_ss time{local - date};
    return {int(ymd.year()),           int(unsigned(ymd.month())),  int(unsigned(ymd.day())),
            int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
}

SleepResult FakePowerManager::sleep(SleepState state, const std::function<void()>& goingDown) {
    sleeps.push_back(state);
    log_.push_back(state == SleepState::Hibernate ? "sleep hibernate" : "sleep standby");
    if (whileAuthorising) {
        whileAuthorising();
    }
    if (goingDown && result.slept()) {
        goingDown();
    }
    if (whileAsleep) {
        whileAsleep();
    }
    return result;
}

namespace {

class FakeArmedAlarm : public ArmedAlarm {
  public:
    FakeArmedAlarm(EventLog& log, int& released) : log_(log), released_(released) {}
    ~FakeArmedAlarm() override {
        ++released_;
        log_.push_back("alarm released");
    }

  private:
    EventLog& log_;
    int& released_;
};

}  // namespace

AlarmResult FakeWakeAlarm::arm(SleepState state, std::chrono::sys_seconds due) {
    if (refuseWith != AlarmError::None) {
        log_.push_back("alarm refused");
        return {{refuseWith, refusalDetail, {}}, nullptr};
    }
    armed.push_back({state, due});
    log_.push_back("alarm armed");
    return {{}, std::make_unique<FakeArmedAlarm>(log_, released)};
}

bool FakeFiles::writeSingleByteText(const std::string& path, const std::string& text) {
    const auto slash = path.rfind('/');
    const std::string folder = path.substr(0, slash == 0 ? 1 : slash);
    if (!folderWritable(folder) && folder != data) {
        log_.push_back("write failed " + path);
        return false;
    }
    written[path] = text;
    log_.push_back("write " + path);
    return true;
}

FtpResult FakeFtpClient::record(const std::string& call, const FtpResult& answer) {
    calls.push_back(call);
    log_.push_back("ftp " + call);
    if (during) {
        during(call);
    }
    return answer;
}

FtpResult FakeFtpClient::open(const std::string& agent) {
    return record("open " + agent, openAnswer);
}

FtpResult FakeFtpClient::connect(const FtpLogin& login) {
    lastLogin = login;
    return record("connect " + login.server + " " + login.user + " " + login.password,
                  connectAnswer);
}

FtpResult FakeFtpClient::changeDirectory(const std::string& folder) {
    return record("cwd " + folder, directoryAnswer);
}

FtpResult FakeFtpClient::putFile(const std::string& localPath, const std::string& remoteName) {
    FtpResult answer = putAnswer;
    if (!putAnswers.empty()) {
        answer = putAnswers.front();
        putAnswers.pop_front();
    }
    return record("put " + localPath + " " + remoteName, answer);
}

FtpResult FakeFtpClient::putBytes(const std::string& bytes, const std::string& remoteName) {
    return record("put " + std::to_string(bytes.size()) + " bytes " + remoteName, putAnswer);
}

FtpResult FakeFtpClient::rename(const std::string& from, const std::string& to) {
    return record("rename " + from + " " + to, renameAnswer);
}

FtpResult FakeFtpClient::remove(const std::string& name) {
    return record("remove " + name, removeAnswer);
}

void FakeFtpClient::disconnect() {
    record("disconnect", {true, 0});
}

MessageAnswer FakeDialogs::showMessage(const MessageBox& box) {
    shown.push_back(box);
    if (whileOpen) {
        whileOpen(box);
    }
    if (!answers.empty()) {
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return box.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::string FakeSettingsStore::read(std::string_view application, std::string_view section,
                                    std::string_view key) {
    reads.emplace_back(application, section, key);
    auto found = values.find(reads.back());
    return found == values.end() ? std::string() : found->second;
}

bool FakeSettingsStore::writeValues(std::string_view application, std::string_view section,
                                    const std::vector<std::pair<std::string, std::string>>& pairs) {
    for (const auto& [key, value] : pairs) {
        write(application, section, key, value);
    }
    return !failWrites;
}

std::string FakeSettingsStore::all() const {
    std::string text;
    for (const auto& [address, value] : values) {
        text += std::get<0>(address) + "/" + std::get<2>(address) + "=" + value + ";";
    }
    return text;
}

}  // namespace somnar::testing
