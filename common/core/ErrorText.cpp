#include "ErrorText.h"

std::string LogEntry(std::string_view dateTime, std::string_view message) {
    std::string entry;
    entry.reserve(dateTime.size() + message.size() + 3);
    entry.append(dateTime).append(" ").append(message).append("\r\n");
    return entry;
}

std::wstring ReporterCommandLine(std::wstring_view reporterPath, int32_t code, std::wstring_view text) {
    // Quoted, so a program folder with a blank cannot start "C:\Program.exe".
    std::wstring line = L"\"";
    line.append(reporterPath).append(L"\" ").append(std::to_wstring(code)).append(L" ").append(text);
    return line;
}
