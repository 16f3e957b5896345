#include "platform/linux/journal_log.h"

#include <sys/stat.h>
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

JournalLog::JournalLog(std::string identifier, std::filesystem::path journalSocket)
    : identifier_(std::move(identifier)), journalSocket_(std::move(journalSocket)) {}

void JournalLog::write(LogLevel level, const std::string& text) {
    struct stat status {};
    if (::stat(journalSocket_.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
        sd_journal_send("MESSAGE=%s", text.c_str(), "PRIORITY=%i", priorityOf(level),
                        "SYSLOG_IDENTIFIER=%s", identifier_.c_str(), nullptr) >= 0) {
        return;
    }
    std::cerr << identifier_ << ": " << text << '\n';
}

}  // namespace somnar
