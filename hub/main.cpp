// Varnel.exe, the hub: creates the desktops, starts the programs on them, owns the hot keys and switches.
#include "AnsiText.h"
#include "Handles.h"
#include "Log.h"
#include "MessageLoop.h"
#include "Registry.h"
#include "WinAPIError.h"
#include "core/HubState.h"
#include "frmMulti.h"

#include <windows.h>

namespace {

constexpr const char *kUacPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

bool StartedElevated() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const KernelHandle ownToken(token);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size))
        return false;
    Registry::Value enableLua;
    const bool read = Registry::QueryValue(HKEY_LOCAL_MACHINE, kUacPolicyKey, "EnableLUA", RegTypeDword, enableLua) &&
                      std::holds_alternative<int32_t>(enableLua);
    return RefusesElevatedStart(
        type, read ? std::optional(static_cast<uint32_t>(std::get<int32_t>(enableLua))) : std::nullopt);
}

std::wstring ThreadDesktopName() {
    wchar_t name[256] = {};
    if (!::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, name, sizeof name - 2,
                                     nullptr))
        return {};
    return name;
}

// The same program, with an empty command line as always, on desktop 1 of the user's window station.
bool StartAgainOnDesktopOne() {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::wstring desktop = L"WinSta0\\Default";
    std::wstring commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Elevated, the hub and every program it starts would be out of the control panel's reach.
    if (StartedElevated()) {
        LogError("Varnel: Varnel was started with administrator rights; it ends without starting anything");
        ReportError(10, "");
        return 1;
    }
    // Relays look for the hub's window on desktop 1, and a start during a UAC prompt or the lock screen happens on
    // another desktop: the set belongs on desktop 1, whoever starts it where.
    const std::wstring desktop = ThreadDesktopName();
    if (StartsAgainOnDesktopOne(desktop)) {
        if (StartAgainOnDesktopOne()) {
            LogError("Varnel: Varnel was started on " + ToAnsi(desktop) + "; it starts again on Default and ends here");
            return 0;
        }
        const DWORD error = ::GetLastError();
        LogError("Varnel: Varnel was started on " + ToAnsi(desktop) +
                 " and could not start again on Default: " + WinAPIErrorText(error));
        ReportError(3, "1");
        return 1;
    }
    // A second hub would start a second set of programs on every desktop.
    KernelHandle instance(::CreateMutexA(nullptr, FALSE, "Local\\nuvoq_VarnelHub"));
    if (instance && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        LogError("Varnel: Varnel is already running; this copy ends.");
        return 0;
    }
    frmMulti hub;
    if (!hub.Created()) {
        LogError("Varnel: Failed to create the hub window");
        return 1;
    }
    if (!hub.Form_Load()) {
        hub.Unload();
        return 1;
    }
    return MessageLoop("Varnel: ", &hub.Supervision()).Run();
}
