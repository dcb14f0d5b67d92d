// The error reporter, started by Varnel's programs as "varnelerror.exe CODE TEXT": it tells the user in plain
// words what failed and what to do. Reports that arrive while its window is up join that window.
#include "Handles.h"
#include "MessageLoop.h"
#include "ReporterWindow.h"

#include <windows.h>

#include <string>

namespace {

constexpr DWORD kLockWaitMs = 10000;
constexpr UINT kHandOffTimeoutMs = 5000;

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Windows are found per desktop, so the lock that keeps to one window is per desktop too.
std::wstring LockName() {
    wchar_t desktop[256] = {};
    ::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop - 2,
                                nullptr);
    return L"Local\\nuvoq_varnelerror_" + std::wstring(desktop);
}

// Gives the report to the reporter window already on this desktop; false when there is none or it did not take it.
bool HandOff(const std::wstring &arguments) {
    const HWND shown = ::FindWindowA(ReporterClassName, nullptr);
    if (shown == nullptr)
        return false;
    std::wstring data = arguments;
    COPYDATASTRUCT block = {};
    block.dwData = ReportHandOffId;
    block.cbData = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    block.lpData = data.data();
    DWORD_PTR answer = FALSE;
    return ::SendMessageTimeoutW(shown, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block),
                                 SMTO_NORMAL | SMTO_ABORTIFHUNG, kHandOffTimeoutMs, &answer) &&
           answer == TRUE;
}

class Lock {
public:
    explicit Lock(const std::wstring &name) : m_mutex(::CreateMutexW(nullptr, FALSE, name.c_str())) {
        // Not getting it in time (a hung holder) must not cost the user the report: go on without.
        const DWORD result = m_mutex ? ::WaitForSingleObject(m_mutex.Get(), kLockWaitMs) : WAIT_FAILED;
        m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    ~Lock() { Release(); }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;
    void Release() {
        if (m_held)
            ::ReleaseMutex(m_mutex.Get());
        m_held = false;
    }

private:
    KernelHandle m_mutex;
    bool m_held = false;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    const std::wstring arguments(ArgumentsOf(::GetCommandLineW(), OwnPath()));
    // Held until this report is handed on or this window exists, so reports starting together meet in one window.
    Lock lock(LockName());
    if (HandOff(arguments))
        return 0;
    ReporterWindow window;
    if (!window.Create(ParseReport(arguments)))
        return 1;
    lock.Release();
    window.Present(showCommand);
    return MessageLoop("varnelerror: ").Run(window.Hwnd());
}
