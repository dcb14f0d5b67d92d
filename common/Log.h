// The shared error log in the program folder and the start of the error reporter; both fire and forget.
#pragma once
#include <cstdint>
#include <string_view>

// Appends date and time, a blank, the message and CR LF to VarnelErrors.txt; also to the debug output.
void LogError(std::string_view message);
// Starts varnelerror.exe with the code and the text, minimized, without waiting; a failure is ignored.
void ReportError(int32_t code, std::string_view text);
// A line for the diagnostic trace only (OutputDebugStringA), e.g. a desktop switch being made.
void Trace(std::string_view message);
