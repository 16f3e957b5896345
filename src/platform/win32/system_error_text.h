#pragma once

#include <string>

namespace somnar::win32 {

// The system's own words for an error number, as FormatMessageW gives them in the user's
// language, without the line break at the end. `module`: a library whose message table
// holds the number (WinINet's 12xxx are in wininet.dll), or empty for the system's own.
// Where the system has no words for it (Wine lacks many), the number itself, so the user
// still has something to look up.
std::string systemErrorText(unsigned long error, const wchar_t* module = nullptr);

// The same words with the number after them: "Das System kann die angegebene Datei nicht
// finden. (2)"; "(722)" where the system has no words for it.
std::string systemMessage(unsigned long error);

}  // namespace somnar::win32
