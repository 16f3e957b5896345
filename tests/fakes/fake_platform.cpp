#include "fakes/fake_platform.h"

#include <cstdio>

namespace somnar::testing {

std::string FakeClock::generalDateTimeText(const LocalDateTime& at) const {
    char text[32];
    if (at.hour == 0 && at.minute == 0 && at.second == 0) {
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", at.day, at.month, at.year);
    } else {
        std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", at.day, at.month, at.year,
                      at.hour, at.minute, at.second);
    }
    return text;
}

MessageAnswer FakeDialogs::showMessage(const MessageBox& box) {
    shown.push_back(box);
    if (!answers.empty()) {
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return box.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::string FakeSettingsStore::read(std::string_view application, std::string_view section,
                                    std::string_view key) {
    Address at{std::string(application), std::string(section), std::string(key)};
    reads.push_back(at);
    auto found = values.find(at);
    return found == values.end() ? std::string() : found->second;
}

bool FakeSettingsStore::write(std::string_view application, std::string_view section,
                              std::string_view key, std::string_view value) {
    Address at{std::string(application), std::string(section), std::string(key)};
    writes.push_back(at);
    if (failWrites) {
        return false;
    }
    values[at] = value;
    return true;
}

std::string FakeSettingsStore::stored(std::string_view application, std::string_view key) const {
    auto found = values.find({std::string(application), "Values", std::string(key)});
    return found == values.end() ? std::string() : found->second;
}

}  // namespace somnar::testing
