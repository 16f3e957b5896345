#include "schedule/picker_moment.h"

#include <array>
#include <charconv>
#include <chrono>
#include <tuple>

namespace somnar {
namespace {

using namespace std::chrono;

constexpr std::array<std::string_view, 7> kWeekdayNames{
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Sonnabend"};

year_month_day calendarDate(const LocalDateTime& moment) {
    return year{moment.year} / month{static_cast<unsigned>(moment.month)} /
           day{static_cast<unsigned>(moment.day)};
}

}  // namespace

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int> wholeNumber(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin < '0' || *begin > '9') {
        return std::nullopt;  // no sign, no other characters
    }
    int number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

std::optional<LocalDateTime> pickerMoment(const MomentTexts& pickers) {
    const auto d = wholeNumber(pickers.day);
    const auto m = wholeNumber(pickers.month);
    const auto h = wholeNumber(pickers.hour);
    const auto min = wholeNumber(pickers.minute);
    // "26" or "02026" would be read as a year of another millennium.
    const std::string yearText = trimmed(pickers.year);
    std::optional<int> y;
    if (yearText.size() == 4) {
        y = wholeNumber(yearText);
    }
    if (!d || !m || !y || !h || !min || *y < 1 || *h > 23 || *min > 59) {
        return std::nullopt;
    }
    const LocalDateTime moment{*y, *m, *d, *h, *min, 0};
    if (*m < 1 || *m > 12 || *d < 1 || *d > 31 || !calendarDate(moment).ok()) {
        return std::nullopt;
    }
    return moment;
}

LocalDateTime nextDay(const LocalDateTime& moment) {
    const year_month_day next{sys_days{calendarDate(moment)} + days{1}};
    LocalDateTime result = moment;
    result.year = static_cast<int>(next.year());
    result.month = static_cast<int>(static_cast<unsigned>(next.month()));
    result.day = static_cast<int>(static_cast<unsigned>(next.day()));
    return result;
}

int weekdayNumber(const LocalDateTime& moment) {
    return static_cast<int>(weekday{sys_days{calendarDate(moment)}}.c_encoding()) + 1;
}

LocalDateTime startOfMinute(LocalDateTime moment) {
    moment.second = 0;
    return moment;
}

LocalDateTime wakeUpAfter(const LocalDateTime& now, LocalDateTime wakeUp) {
    if (isBefore(wakeUp, now)) {
        const LocalDateTime tomorrow = nextDay(now);
        wakeUp.year = tomorrow.year;
        wakeUp.month = tomorrow.month;
        wakeUp.day = tomorrow.day;
    }
    return wakeUp;
}

std::string momentText(const LocalDateTime& moment, const MomentTexts& pickers) {
    const auto& [day, month, year, hour, minute] = pickers;
    return std::string(kWeekdayNames.at(static_cast<std::size_t>(weekdayNumber(moment) - 1))) +
           ", " + day + "." + month + "." + year + " " + hour + ":" + minute;
}

bool isBefore(const LocalDateTime& a, const LocalDateTime& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

}  // namespace somnar
