#include "platform/linux/system_clock.h"

#include "wake/local_to_utc.h"

#include <QDate>
#include <QTime>

#include <chrono>
#include <ctime>
#include <optional>

namespace somnar {

namespace {

// Calls visit(start, length) for every run of equal pattern letters in a QDateTime
// format; text in single quotes is literal and skipped.
template <typename Visit>
void forEachField(const QString& format, Visit visit) {
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        if (!quoted && c.isLetter()) {
            while (end < format.size() && format.at(end) == c) {
                ++end;
            }
            if (!visit(i, end - i)) {
                return;
            }
        }
        i = end;
    }
}

// "yy" becomes "yyyy": the year always shows its four digits.
QString withFourDigitYear(QString format) {
    qsizetype twoDigitYear = -1;
    forEachField(format, [&](qsizetype start, qsizetype length) {
        if (format.at(start) == QLatin1Char('y') && length == 2) {
            twoDigitYear = start;
            return false;
        }
        return true;
    });
    if (twoDigitYear >= 0) {
        format.insert(twoDigitYear, QStringLiteral("yy"));
    }
    return format;
}

// Seconds go right after the minutes, joined by the separator the locale puts between
// hours and minutes ("HH:mm" -> "HH:mm:ss", "H.mm" -> "H.mm.ss", "h:mm AP" -> "h:mm:ss AP").
QString withSeconds(QString format) {
    qsizetype hourEnd = -1;
    qsizetype minuteStart = -1;
    qsizetype minuteEnd = -1;
    bool hasSeconds = false;
    forEachField(format, [&](qsizetype start, qsizetype length) {
        const QChar c = format.at(start);
        if (c == QLatin1Char('h') || c == QLatin1Char('H')) {
            hourEnd = start + length;
        } else if (c == QLatin1Char('m') && minuteStart < 0) {
            minuteStart = start;
            minuteEnd = start + length;
        } else if (c == QLatin1Char('s')) {
            hasSeconds = true;
        }
        return true;
    });
    if (hasSeconds || minuteStart < 0) {
        return format;
    }
    QString separator = QStringLiteral(":");
    if (hourEnd >= 0 && hourEnd < minuteStart) {
        separator = format.mid(hourEnd, minuteStart - hourEnd);
    }
    format.insert(minuteEnd, separator + QStringLiteral("ss"));
    return format;
}

bool isPlainC(const QLocale& locale) {
    return locale.language() == QLocale::C;
}

// The offset of local time from UTC at the moment, by the zone's rules (tm_gmtoff).
std::optional<std::chrono::seconds> offsetAt(std::chrono::sys_seconds moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return std::nullopt;
    }
    return std::chrono::seconds{local.tm_gmtoff};
}

}  // namespace

SystemClock::SystemClock() : SystemClock(QLocale::system()) {}

SystemClock::SystemClock(const QLocale& locale) : locale_(locale) {
    if (isPlainC(locale_)) {
        dateFormat_ = QStringLiteral("dd.MM.yyyy");
        timeFormat_ = QStringLiteral("HH:mm:ss");
    } else {
        dateFormat_ = withFourDigitYear(locale_.dateFormat(QLocale::ShortFormat));
        timeFormat_ = withSeconds(locale_.timeFormat(QLocale::ShortFormat));
    }
}

LocalDateTime SystemClock::now() const {
    // localtime_r, unlike localtime, need not look at the time zone again: tzset does.
    ::tzset();
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::optional<std::chrono::sys_seconds> SystemClock::localToUtc(const LocalDateTime& moment) const {
    ::tzset();
    return somnar::localToUtc(moment, offsetAt);
}

std::string SystemClock::generalDateTimeText(const LocalDateTime& moment) const {
    const QDate date(moment.year, moment.month, moment.day);
    QString text = locale_.toString(date, dateFormat_);
    if (moment.hour != 0 || moment.minute != 0 || moment.second != 0) {
        const QTime time(moment.hour, moment.minute, moment.second);
        text += QLatin1Char(' ') + locale_.toString(time, timeFormat_);
    }
    return text.toStdString();
}

std::chrono::milliseconds SystemClock::monotonic() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::chrono::sys_time<std::chrono::milliseconds> SystemClock::utcNow() const {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now());
}

}  // namespace somnar
