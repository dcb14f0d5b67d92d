#include "cDesktop.h"

#include "AnsiText.h"
#include "Log.h"
#include "WinAPIError.h"

std::string cDesktop::Prefix() const {
    return "cDesktop" + std::to_string(m_number) + ": ";
}

void cDesktop::SetErrorFromCode(DWORD code) {
    m_lastErrorText = "cDesktop: " + WinAPIErrorText(code);
}

bool cDesktop::SetAsDefault() {
    m_threadDesktopHandle = ::GetThreadDesktop(::GetCurrentThreadId());
    if (m_threadDesktopHandle == nullptr) {
        SetErrorFromCode(::GetLastError());
        return false;
    }
    m_desktopHandle.Reset(::OpenInputDesktop(0, FALSE, DESKTOP_SWITCHDESKTOP));
    if (!m_desktopHandle) {
        SetErrorFromCode(::GetLastError());
        return false;
    }
    m_desktopName = L"Default";
    StartProcess(m_hub.GetSwitcherPath(1), L"");
    StartProcess(m_hub.GetEventHandlerPath(1), L"");
    return StartProcess(m_hub.GetEventHandlerPath(5), L"");
}

bool cDesktop::Create(const std::wstring &sDesktopName, int16_t DeskNum) {
    m_desktopHandle.Reset(::CreateDesktopW(sDesktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    if (!m_desktopHandle) {
        SetErrorFromCode(::GetLastError());
        return false;
    }
    m_threadDesktopHandle = m_desktopHandle.Get();
    m_desktopName = sDesktopName;
    SwitchTo();
    StartProcess(m_hub.GetExplorerPath(), L"");
    StartProcess(m_hub.GetSwitcherPath(DeskNum), L"");
    return StartProcess(m_hub.GetEventHandlerPath(DeskNum), L"");
}

bool cDesktop::StartProcess(const std::wstring &sPath, const std::wstring &CmdLine) {
    std::wstring desktop = m_desktopName;
    std::wstring commandLine = CmdLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    startup.lpTitle = desktop.data();
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(sPath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process)) {
        SetErrorFromCode(::GetLastError());
        Trace(Prefix() + "could not start " + ToAnsi(sPath));
        return false;
    }
    ::CloseHandle(process.hThread);
    Trace(Prefix() + "started " + ToAnsi(sPath) + " on " + ToAnsi(m_desktopName));
    m_hub.ProcessStarted(*this, sPath, KernelHandle(process.hProcess));
    return true;
}

bool cDesktop::SwitchTo() {
    bool shown = false;
    if (m_desktopHandle) {
        shown = ::SwitchDesktop(m_desktopHandle.Get()) != FALSE;
        Trace(Prefix() + (shown ? "switched to " : "switch refused to ") + ToAnsi(m_desktopName));
    }
    // Refused while the thread owns windows (it owns the hub window); kept as the desktop's own step.
    if (m_threadDesktopHandle != nullptr)
        ::SetThreadDesktop(m_threadDesktopHandle);
    return shown;
}

void cDesktop::ClearUp() {
    m_desktopHandle.Reset();
}
