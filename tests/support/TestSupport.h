// What the Wine tests share: throwaway program folders, processes, files and waiting for conditions.
#pragma once
#include "Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The folder of the running test program (where the recorder and the probe are built too), and the build's
// program folder (every program of the system and FreeImage.dll).
std::wstring TestBinDir();
std::wstring ProgramFolder();

// A folder under %TEMP%, removed with all it holds at the end. Its name has a blank, as "Program Files" does, so
// quoting faults show.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::wstring &Path() const { return m_path; }
    std::wstring File(std::wstring_view name) const { return m_path + L"\\" + std::wstring(name); }
    bool Add(const std::wstring &source, std::wstring_view name) const;  // copies `source` in as `name`

private:
    std::wstring m_path;
};

// The dots per inch Wine gives the programs started while this lives (LogPixels of the prefix's user).
class PrefixDpi {
public:
    explicit PrefixDpi(DWORD dpi);
    ~PrefixDpi();
    PrefixDpi(const PrefixDpi &) = delete;
    PrefixDpi &operator=(const PrefixDpi &) = delete;
};
inline constexpr DWORD CommonDpis[] = {96, 120, 144, 192};  // 100, 125, 150 and 200 %

std::wstring WideWindowText(HWND window);  // WM_GETTEXT: Wine 8's GetWindowTextW is empty for other processes

// Polls `condition` (keeping this thread's windows answering) until it holds or `timeoutMs` passes.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 10000);

bool FileExists(const std::wstring &path);
std::string ReadFileBytes(const std::wstring &path);
bool WriteFileBytes(const std::wstring &path, std::string_view bytes);

// An empty handle on failure.
KernelHandle StartProcess(const std::wstring &program, const std::wstring &commandLine,
                          const wchar_t *desktop = nullptr);
// The exit code, or STILL_ACTIVE (and the process ended) when it did not finish in time.
DWORD RunProcess(const std::wstring &program, const std::wstring &commandLine, DWORD timeoutMs = 20000);

// A recorder's lines: "desktop name|show mode (-1: none given)|command line", one per start.
std::string RecorderLines(const TempFolder &folder, std::wstring_view programName);

HWND FindTaggedWindow(const std::string &tag);  // a top-level window with property `tag` = 1
bool SendCopyData(HWND window, std::string_view bytes, DWORD timeoutMs = 10000);
void PressHotKey(int modifiers, WORD virtualKey);  // modifiers: 1 Alt, 2 Control, 4 Shift, 8 Windows key
std::vector<DWORD> ProcessIdsOf(const std::wstring &exeName);
// Ends one process of that name as a crash would (exit code 1) and waits until it is gone; false when none runs.
bool KillProcess(const std::wstring &exeName);
struct ChildProcess {
    DWORD id;
    std::wstring name;
};
std::vector<ChildProcess> ChildProcesses(DWORD parentId, const std::wstring &except = L"");
// Those named `exeName` (any, when empty), after giving them `graceMs` in all to end by themselves.
void EndChildProcesses(DWORD parentId, const std::wstring &exeName, DWORD graceMs = 0);
