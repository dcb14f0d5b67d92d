// Runs one call of the shared library from inside a throwaway program folder, where the program directory
// is that folder: "probe report CODE TEXT...", "probe log MESSAGE..." or "probe logs COUNT MESSAGE...".
#include "AnsiText.h"
#include "Log.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR *args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr || count < 3)
        return 2;
    const std::wstring verb = args[1];
    const int first = verb == L"log" ? 2 : 3;
    std::wstring text;
    for (int i = first; i < count; ++i)
        text += (i > first ? L" " : L"") + std::wstring(args[i]);
    const int times = verb == L"log" ? 1 : verb == L"logs" ? _wtoi(args[2]) : 0;
    for (int i = 0; i < times; ++i)
        LogError(ToAnsi(text));
    if (verb == L"report")
        ReportError(_wtoi(args[2]), ToAnsi(text));
    ::LocalFree(args);
    return verb == L"log" || verb == L"logs" || verb == L"report" ? 0 : 2;
}
