// A real hub running in a throwaway program folder, with stand-ins (recorders) for every program it starts
// unless the test puts real ones there. Ends the hub, and the shells it started, when it goes.
#pragma once
#include "DebugMonitor.h"
#include "TestSupport.h"

#include <string>
#include <vector>

class HubRun {
public:
    explicit HubRun(const TempFolder &folder) : m_folder(folder) {}
    ~HubRun() { Stop(); }

    // Copies Varnel.exe and puts recorder.exe in place of the listed programs (names without ".exe").
    static bool Populate(const TempFolder &folder, const std::vector<std::wstring> &standIns = AllSiblings());
    static std::vector<std::wstring> AllSiblings();

    // True once the hub traced the end of its start-up. One started on another `desktop` starts itself again on
    // Default and ends: the run goes on with that one.
    bool Start(const DebugMonitor &monitor, const wchar_t *desktop = nullptr);
    bool Running() const;
    HWND Window() const { return FindTaggedWindow("Varnel_APPLICATION"); }
    bool Send(std::string_view word) const { return SendCopyData(Window(), word); }
    bool WaitForExit(DWORD timeoutMs = 10000) const;
    DWORD ProcessId() const { return m_processId; }
    bool Kill() const;  // as a crash would (exit code 1)
    void Stop();        // with "EndApp" (or by force), and the shells it started

private:
    const TempFolder &m_folder;
    KernelHandle m_process;
    DWORD m_processId = 0;
};
