// Text building for the error log and the error reporter's command line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view LogFileName = "VarnelErrors.txt";
inline constexpr std::string_view ReporterFileName = "varnelerror.exe";

// One log entry: date and time, a blank, the message, CR LF.
std::string LogEntry(std::string_view dateTime, std::string_view message);
// The reporter's command line: its quoted path, the code in decimal, a blank, the text as it is.
std::wstring ReporterCommandLine(std::wstring_view reporterPath, int32_t code, std::wstring_view text);
