// One desktop of the user's window station, for the hub: adopts or creates it, starts programs on it,
// shows it, and keeps the text of its last failure.
#pragma once
#include "Handles.h"
#include "core/HubState.h"

#include <windows.h>

#include <cstdint>
#include <string>

class cDesktop;

// What the desktops ask the hub for: the programs to start on them. The hub also takes each started process, and
// each shell a desktop keeps.
class IHubPaths {
public:
    virtual std::wstring GetExplorerPath() const = 0;
    virtual std::wstring GetSwitcherPath(int16_t desktopNumber) const = 0;
    virtual std::wstring GetEventHandlerPath(int16_t desktopNumber) const = 0;
    virtual void ProcessStarted(cDesktop &desktop, const std::wstring &path, KernelHandle process) = 0;

protected:
    ~IHubPaths() = default;
};

class cDesktop {
public:
    cDesktop(IHubPaths &hub, int16_t number) : m_hub(hub), m_number(number) {}

    // Adopts "Default" as desktop 1 and starts its relay, the hub relay and its switcher.
    bool SetAsDefault();
    // Creates (or opens) the desktop, shows it, and starts its relay, its shell (unless one runs) and switcher.
    bool Create(const std::wstring &sDesktopName, int16_t DeskNum);
    bool StartProcess(const std::wstring &sPath, const std::wstring &CmdLine);
    // Answers whether Windows showed the desktop.
    bool SwitchTo();
    void ClearUp();
    const std::string &GetLastError() const { return m_lastErrorText; }

    int16_t Number() const { return m_number; }
    bool IsOpen() const { return static_cast<bool>(m_desktopHandle); }
    HDESK DefaultDesktop() const { return m_desktopHandle.Get(); }
    HDESK DefaultThread() const { return m_threadDesktopHandle; }
    // The shell that runs on the desktop, opened to wait on; empty when none runs.
    KernelHandle RunningShell() const;

private:
    // Starts the desktop's programs in order; false when its relay could not be started.
    bool StartPrograms(int16_t deskNum);
    std::wstring ProgramPath(DesktopProgram program, int16_t deskNum) const;
    void SetErrorFromCode(DWORD code);
    std::string Prefix() const;

    IHubPaths &m_hub;
    int16_t m_number;
    std::wstring m_desktopName;
    Desktop m_desktopHandle;
    HDESK m_threadDesktopHandle = nullptr;  // never closed: for desktop 1 it is the thread's own desktop
    std::string m_lastErrorText;
};
