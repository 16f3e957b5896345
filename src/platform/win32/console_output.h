#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// The program's UTF-8 text where an output handle leads. A console gets it as UTF-16
// through WriteConsoleW, so umlauts read right whatever code page the console has, and
// that code page stays as the user left it; a file or pipe gets the UTF-8 bytes. Whole
// lines go out as they end, the rest at a flush and when this object goes.
class ConsoleOutput final : public std::streambuf {
  public:
    explicit ConsoleOutput(HANDLE target);
    ~ConsoleOutput() override;
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

  private:
    // Writes the first `count` bytes of what waits; false when they did not all go out.
    bool write(std::size_t count);

    HANDLE target_;
    bool console_;
    std::string pending_;
};

// std::cout and std::cerr through a ConsoleOutput each for the life of this object.
class ConsoleStreams {
  public:
    ConsoleStreams(HANDLE out, HANDLE err);
    ~ConsoleStreams();
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;

  private:
    ConsoleOutput out_;
    ConsoleOutput err_;
    std::streambuf* previousOut_;
    std::streambuf* previousErr_;
};

}  // namespace somnar::win32
