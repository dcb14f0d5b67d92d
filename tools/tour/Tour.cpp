// tour.exe: drives a running system from a script, as a user or the control panel would.
//   tour wait-started [seconds]   until the hub's window and all 47 events exist
//   tour hotkey MODIFIERS KEY     presses a hot key (modifier bits 1 Alt, 2 Ctrl, 4 Shift, 8 Win; key as a number)
//   tour shutdown [seconds]       sets the close events of the hub and the four switchers, in the control panel's
//                                 order, and waits until the hub's window is gone
//   tour panel-wait               until the control panel's window is there
//   tour panel-tab X              presses the panel's tab strip at x (a point inside a tab)
//   tour panel-name N TEXT        types TEXT as the name of desktop N
//   tour panel-record ROW KEY     records KEY (a number) for row ROW (0..4) in the recording dialog
//   tour panel-save               "Save changes and exit", and waits until the panel has gone
//   tour panel-rect [ID]          prints the rectangle of the panel (or of its control ID) on the screen:
//                                 "left top right bottom"
//   tour start DESK COMMAND...    starts a program on desktop DESK (1..4) with that command line
//   tour run DESK COMMAND...      the same, and waits for its end: its exit code is tour's
//   tour visible DESK CLASS       until a visible window of that class is on desktop DESK; lets it paint and
//                                 prints its rectangle on the screen of its desktop: "left top right bottom"
//   tour hidden DESK CLASS        until no window of that class is visible on desktop DESK
//   tour ended [seconds]          until no program of the system runs any more; names those still running
//   tour follow                   prints the number of each desktop the hub switches to, as its trace tells,
//                                 one line each, until the hub ends
// Exit code 0 when done, 1 when the wait ran out, 2 for a wrong call.
#include "AnsiText.h"
#include "ControlIds.h"
#include "DebugMonitor.h"
#include "Handles.h"
#include "TestSupport.h"
#include "core/EventNames.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

HWND HubWindow() {
    return FindTaggedWindow("Varnel_APPLICATION");
}

bool AllEventsExist() {
    for (int16_t index = 1; index <= EventCount; ++index) {
        KernelHandle event(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str()));
        if (!event)
            return false;
    }
    return true;
}

template <class Condition>
bool WaitUntil(Condition condition, int seconds) {
    for (ULONGLONG deadline = ::GetTickCount64() + 1000ull * seconds; !condition(); ::Sleep(50)) {
        if (::GetTickCount64() > deadline)
            return false;
    }
    return true;
}

HWND Panel() {
    return ::FindWindowA(nullptr, "Varnel Control Panel");
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<ChildSearch *>(data);
    if (::GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The pages' controls sit inside frames, so the search goes through every descendant.
HWND PanelControl(int id) {
    ChildSearch search{id, nullptr};
    ::EnumChildWindows(Panel(), MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Key messages as the keyboard leaves them for the dialog's focused control.
void PostKey(HWND control, UINT message, WPARAM key) {
    ::PostMessageA(control, message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

int PanelCommand(int argc, char **argv) {
    const std::string verb = argv[1];
    if (verb == "panel-wait")
        return WaitUntil([] { return Panel() != nullptr; }, 30) ? 0 : 1;
    if (Panel() == nullptr)
        return 1;
    if (verb == "panel-tab" && argc == 3) {
        const HWND tab = PanelControl(ControlId::Tab1);
        const LPARAM at = MAKELPARAM(std::atoi(argv[2]), 12);
        ::SendMessageTimeoutA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_ABORTIFHUNG, 5000, nullptr);
        ::SendMessageTimeoutA(tab, WM_LBUTTONUP, 0, at, SMTO_ABORTIFHUNG, 5000, nullptr);
        return 0;
    }
    if (verb == "panel-name" && argc == 4) {
        const int n = std::atoi(argv[2]);
        if (n < 1 || n > 4)
            return 2;
        ::SendMessageA(PanelControl(ControlId::TextDeskName + n - 1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        return 0;
    }
    if (verb == "panel-record" && argc == 4) {
        const int row = std::atoi(argv[2]);
        if (row < 0 || row > 4)
            return 2;
        // The button's click as the panel hears it (a posted BM_CLICK is lost on a button of an inactive window).
        const int id = ControlId::cmdRecordKey1 + row;
        ::PostMessageA(Panel(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(PanelControl(id)));
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = ::FindWindowA(nullptr, "Record shortcut key")) != nullptr; }, 10))
            return 1;
        const HWND focus = ::GetDlgItem(dialog, ControlId::CancelButton);
        const auto key = static_cast<WPARAM>(std::atoi(argv[3]));
        PostKey(focus, WM_KEYDOWN, key);
        PostKey(focus, WM_KEYUP, key);
        return WaitUntil([&] { return !::IsWindow(dialog); }, 10) ? 0 : 1;
    }
    if (verb == "panel-rect" && argc <= 3) {
        RECT rect = {};
        if (!::GetWindowRect(argc == 3 ? PanelControl(std::atoi(argv[2])) : Panel(), &rect))
            return 1;
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return 0;
    }
    if (verb == "panel-save") {
        ::PostMessageA(PanelControl(ControlId::SaveExit), BM_CLICK, 0, 0);
        return WaitUntil([] { return Panel() == nullptr; }, 30) ? 0 : 1;
    }
    return 2;
}

std::wstring DesktopName(int desk) {
    return desk == 1 ? L"Default" : L"desk" + std::to_wstring(desk);
}

// Runs `work` on a thread of desktop `desk`, where it sees that desktop's windows; its answer, or 1 when the
// desktop cannot be opened.
template <class Work>
int OnDesktop(int desk, Work work) {
    const Desktop desktop(::OpenDesktopW(DesktopName(desk).c_str(), 0, FALSE, GENERIC_ALL));
    if (!desktop)
        return 1;
    int result = 1;
    std::thread thread([&] {
        if (::SetThreadDesktop(desktop.Get()))
            result = work();
    });
    thread.join();
    return result;
}

HWND Visible(const char *windowClass) {
    const HWND window = ::FindWindowA(windowClass, nullptr);
    return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
}

int DesktopCommand(int argc, char **argv) {
    const std::string verb = argv[1];
    const int desk = std::atoi(argv[2]);
    if (desk < 1 || desk > 4)
        return 2;
    if (verb == "start" || verb == "run") {
        std::wstring line;
        for (int i = 3; i < argc; ++i)
            line += (i > 3 ? L" " : L"") + ToWide(argv[i]);
        std::wstring name = DesktopName(desk);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.lpDesktop = name.data();
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 1;
        ::CloseHandle(process.hThread);
        const KernelHandle started(process.hProcess);
        DWORD code = 0;
        if (verb == "run" && ::WaitForSingleObject(started.Get(), INFINITE) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(started.Get(), &code);
        return static_cast<int>(code);
    }
    const char *windowClass = argv[3];
    if (verb == "visible") {
        return OnDesktop(desk, [&] {
            HWND window = nullptr;
            if (!WaitUntil([&] { return (window = Visible(windowClass)) != nullptr; }, 30))
                return 1;
            ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            RECT rect = {};
            ::GetWindowRect(window, &rect);
            std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
            return 0;
        });
    }
    if (verb == "hidden")
        return OnDesktop(desk, [&] { return WaitUntil([&] { return Visible(windowClass) == nullptr; }, 30) ? 0 : 1; });
    return 2;
}

// The system's programs still running (in this Wine prefix: Wine lists only its own server's processes).
std::vector<std::string> SystemProcesses() {
    static const char *const names[] = {"varnel.exe",  "tavik1.exe",  "tavik2.exe",  "tavik3.exe",
                                        "tavik4.exe",  "pellum1.exe", "pellum2.exe", "pellum3.exe",
                                        "pellum4.exe", "varneleventhandler.exe", "varnelcontrolpanel.exe"};
    std::vector<std::string> running;
    const KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
        for (const char *name : names) {
            if (::lstrcmpiA(entry.szExeFile, name) == 0)
                running.emplace_back(entry.szExeFile);
        }
    }
    return running;
}

// The hub's desktops trace "cDesktopN: switched to NAME" after each switch that Windows accepted.
int Follow() {
    const DebugMonitor monitor;
    if (!monitor.Active())
        return 1;
    for (size_t seen = 0; HubWindow() != nullptr;) {
        // Each second without a switch looks again whether the hub still runs.
        if (!monitor.WaitFor("switched to ", seen + 1, 1000))
            continue;
        const std::string line = monitor.Matching("switched to ")[seen++];
        const std::string name = line.substr(line.find("switched to ") + 12);
        std::printf("%c\n", name == "Default" ? '1' : name.back());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    // Started: the hub and its events, and desktop 1's switcher ready to leave its desktop with a picture (a
    // hot key before that is switched past by the hub without one).
    if (std::strcmp(argv[1], "wait-started") == 0)
        return WaitUntil([] { return HubWindow() != nullptr && AllEventsExist() &&
                                     FindTaggedWindow("Tavik1_APPLICATION") != nullptr; },
                         seconds) ? 0 : 1;
    if (std::strcmp(argv[1], "hotkey") == 0 && argc == 4) {
        PressHotKey(std::atoi(argv[2]), static_cast<WORD>(std::atoi(argv[3])));
        return 0;
    }
    if (std::strcmp(argv[1], "shutdown") == 0) {
        for (int16_t index : {45, 7, 17, 27, 37}) {
            KernelHandle event(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
            if (event)
                ::SetEvent(event.Get());
        }
        return WaitUntil([] { return HubWindow() == nullptr; }, seconds) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "follow") == 0)
        return Follow();
    if (std::strcmp(argv[1], "ended") == 0) {
        if (WaitUntil([] { return SystemProcesses().empty(); }, seconds))
            return 0;
        for (const std::string &name : SystemProcesses())
            std::printf("%s\n", name.c_str());
        return 1;
    }
    if (std::strncmp(argv[1], "panel-", 6) == 0)
        return PanelCommand(argc, argv);
    if (argc >= 4 && (std::strcmp(argv[1], "start") == 0 || std::strcmp(argv[1], "run") == 0 ||
                      std::strcmp(argv[1], "visible") == 0 || std::strcmp(argv[1], "hidden") == 0))
        return DesktopCommand(argc, argv);
    return 2;
}
