#pragma once

#include <filesystem>
#include <string>

#include "platform/log.h"

namespace somnar {

// The system journal, under the program's identifier; standard error where there is no
// journal to take the entry.
class JournalLog final : public Log {
  public:
    // The socket that journald listens on while it runs.
    static constexpr const char* kJournalSocket = "/run/systemd/journal/socket";

    // journalSocket: where a running journal listens. Where it does not exist, the entry goes
    // to standard error: sd_journal_send() then says it was sent and writes nothing.
    explicit JournalLog(std::string identifier = "somnar-scheduler",
                        std::filesystem::path journalSocket = kJournalSocket);

    void write(LogLevel level, const std::string& text) override;

  private:
    std::string identifier_;
    std::filesystem::path journalSocket_;
};

}  // namespace somnar
