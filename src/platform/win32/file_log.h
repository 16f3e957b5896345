#pragma once

#include <cstdint>
#include <string>

#include "platform/log.h"

namespace somnar {

// The program's record as a UTF-8 text file, one line an entry: local date and time, the
// level, the text. Windows' event log would need an administrator to register the
// program as a source; a file in the user's own folder needs nothing.
class FileLog final : public Log {
  public:
    // Above this size the file starts again, the old one kept as "<file>.old".
    static constexpr std::uint64_t kLimit = std::uint64_t{1024} * 1024;

    // file: empty means defaultFile().
    explicit FileLog(std::wstring file = {});

    // Appends "2026-12-07 21:10:03 warning <text>" with CR LF; line breaks in the text
    // become blanks. A failure to write is ignored: the caller never waits or fails.
    void write(LogLevel level, const std::string& text) override;

    const std::wstring& file() const { return file_; }

    // <local application data>\Somnar Scheduler\somnar-scheduler.log.
    static std::wstring defaultFile();

  private:
    std::wstring file_;
};

}  // namespace somnar
