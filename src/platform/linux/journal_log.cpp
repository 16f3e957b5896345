#include "platform/linux/journal_log.h"

#include <syslog.h>
#include <systemd/sd-journal.h>

#include <iostream>
#include <utility>

namespace somnar {

namespace {

int priorityOf(LogLevel level) {
    switch (level) {
        case LogLevel::Info:
            return LOG_INFO;
        case LogLevel::Warning:
            return LOG_WARNING;
        case LogLevel::Error:
            break;
    }
    return LOG_ERR;
}

}  // namespace

JournalLog::JournalLog(std::string identifier) : identifier_(std::move(identifier)) {}

void JournalLog::write(LogLevel level, const std::string& text) {
    const int sent = sd_journal_send("MESSAGE=%s", text.c_str(), "PRIORITY=%i", priorityOf(level),
                                     "SYSLOG_IDENTIFIER=%s", identifier_.c_str(), nullptr);
    if (sent < 0) {
        std::cerr << identifier_ << ": " << text << '\n';
    }
}

}  // namespace somnar
