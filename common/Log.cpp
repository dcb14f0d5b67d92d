#include "Log.h"

#include "AnsiText.h"
#include "Handles.h"
#include "core/ErrorText.h"

#include <string>

namespace {

std::string DateTimeText() {
    // The user's general date format: short date, then the long time.
    char date[128] = {};
    char time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

// Append access alone lands each entry at the end on Windows, but Wine finds the end and writes in two steps: two
// programs logging at once overwrote each other's line. So one writer at a time; a holder that hangs costs the
// others a second, never their line.
class LogWriterTurn {
public:
    LogWriterTurn() : m_mutex(::CreateMutexA(nullptr, FALSE, "Local\\nuvoq_VarnelErrorLog")) {
        if (m_mutex) {
            const DWORD wait = ::WaitForSingleObject(m_mutex.Get(), 1000);
            m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    ~LogWriterTurn() {
        if (m_owned)
            ::ReleaseMutex(m_mutex.Get());
    }
    LogWriterTurn(const LogWriterTurn &) = delete;
    LogWriterTurn &operator=(const LogWriterTurn &) = delete;

private:
    KernelHandle m_mutex;
    bool m_owned = false;
};

}  // namespace

void LogError(std::string_view message) {
    const std::string entry = LogEntry(DateTimeText(), message);
    ::OutputDebugStringA(entry.c_str());
    const std::wstring path = ProgramDirectory() + L"\\" + ToWide(LogFileName);
    const LogWriterTurn turn;
    FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    ::WriteFile(file.Get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
}

void ReportError(int32_t code, std::string_view text) {
    const std::wstring reporter = ProgramDirectory() + L"\\" + ToWide(ReporterFileName);
    std::wstring commandLine = ReporterCommandLine(reporter, code, ToWide(text));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(reporter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

void Trace(std::string_view message) {
    const std::string line = std::string(message) + "\n";
    ::OutputDebugStringA(line.c_str());
}
