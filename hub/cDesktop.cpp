#include "cDesktop.h"

#include "AnsiText.h"
#include "Log.h"
#include "WinAPIError.h"
#include "core/EventNames.h"
#include "core/HubState.h"

namespace {

constexpr std::string_view kErrorPrefix = "cDesktop: ";

struct ShellSearch {
    std::wstring explorerPath;
    KernelHandle found;
};

BOOL CALLBACK FindShell(HWND window, LPARAM lParam) {
    auto *search = reinterpret_cast<ShellSearch *>(lParam);
    DWORD processId = 0, desktopOwnerId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    ::GetWindowThreadProcessId(::GetAncestor(window, GA_PARENT), &desktopOwnerId);
    KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process && ::QueryFullProcessImageNameW(process.Get(), 0, path, &size) &&
        IsShellProcess(std::wstring_view(path, size), search->explorerPath, processId == desktopOwnerId)) {
        search->found = std::move(process);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string cDesktop::Prefix() const {
    return "cDesktop" + std::to_string(m_number) + ": ";
}

void cDesktop::SetErrorFromCode(DWORD code) {
    m_lastErrorText = std::string(kErrorPrefix) + WinAPIErrorText(code);
}

bool cDesktop::SetAsDefault() {
    m_threadDesktopHandle = ::GetThreadDesktop(::GetCurrentThreadId());
    if (m_threadDesktopHandle == nullptr) {
        SetErrorFromCode(::GetLastError());
        return false;
    }
    // By name: while a UAC prompt or the lock screen is shown, the input desktop is not the user's.
    m_desktopHandle.Reset(::OpenDesktopW(L"Default", 0, FALSE, DESKTOP_SWITCHDESKTOP));
    if (!m_desktopHandle) {
        SetErrorFromCode(::GetLastError());
        return false;
    }
    m_desktopName = L"Default";
    return StartPrograms(1);
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
    return StartPrograms(DeskNum);
}

bool cDesktop::StartPrograms(int16_t deskNum) {
    for (const DesktopProgram program : StartOrder(deskNum)) {
        const std::wstring path = ProgramPath(program, deskNum);
        // A shell left from an earlier start (Shutdown ends none) is kept, and watched, rather than joined by a
        // second one.
        if (KernelHandle shell = program == DesktopProgram::Shell ? RunningShell() : KernelHandle()) {
            Trace(Prefix() + "kept the shell running on " + ToAnsi(m_desktopName));
            m_hub.ProcessStarted(*this, path, std::move(shell));
            continue;
        }
        if (StartProcess(path, L""))
            continue;
        if (FailsDesktop(program))
            return false;
        LogError(Prefix() + "Failed to start " + ToAnsi(path) + ": " + m_lastErrorText.substr(kErrorPrefix.size()));
    }
    return true;
}

std::wstring cDesktop::ProgramPath(DesktopProgram program, int16_t deskNum) const {
    switch (program) {
    case DesktopProgram::Relay: return m_hub.GetEventHandlerPath(deskNum);
    case DesktopProgram::HubRelay: return m_hub.GetEventHandlerPath(HubDeskNum);
    case DesktopProgram::Shell: return m_hub.GetExplorerPath();
    default: return m_hub.GetSwitcherPath(deskNum);
    }
}

KernelHandle cDesktop::RunningShell() const {
    ShellSearch search{m_hub.GetExplorerPath(), {}};
    if (m_desktopHandle)
        ::EnumDesktopWindows(m_desktopHandle.Get(), FindShell, reinterpret_cast<LPARAM>(&search));
    return std::move(search.found);
}

bool cDesktop::StartProcess(const std::wstring &sPath, const std::wstring &CmdLine) {
    std::wstring desktop = m_desktopName;
    std::wstring commandLine = CmdLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    startup.lpTitle = desktop.data();
    // Each program starts in its own folder, not the hub's: a shell outlives the hub and would keep the
    // program folder in use (an uninstall could not remove it).
    const size_t slash = sPath.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : sPath.substr(0, slash);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(sPath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        SetErrorFromCode(::GetLastError());
        Trace(Prefix() + "could not start " + ToAnsi(sPath));
        return false;
    }
    const KernelHandle thread(process.hThread);
    KernelHandle started(process.hProcess);
    Trace(Prefix() + "started " + ToAnsi(sPath) + " on " + ToAnsi(m_desktopName));
    m_hub.ProcessStarted(*this, sPath, std::move(started));
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
