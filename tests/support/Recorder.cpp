// Stands in for any program of the system in a test's program folder: it appends "desktop|show|command line"
// to <its own name>.rec beside itself and ends, so a test can see what was started, where and how.
#include "AnsiText.h"
#include "Handles.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t self[MAX_PATH] = {}, desktop[256] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring record = std::wstring(self).substr(0, std::wstring(self).find_last_of(L'.')) + L".rec";
    ::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop, nullptr);
    STARTUPINFOW startup = {};
    ::GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::string line = ToAnsi(desktop) + "|" + std::to_string(show) + "|" + ToAnsi(::GetCommandLineW()) + "\r\n";
    FileHandle file(::CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file)
        ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return 0;
}
