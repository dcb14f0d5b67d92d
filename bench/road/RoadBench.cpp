// End to end: the real hub, relays and four switchers in a throwaway program folder, driven by hot-key switches
// that cycle through the four desktops. The programs' own traces (read through the debug monitor) time each
// switch: hot key -> the hub's switch, and switch -> the picture reloaded by the other three switchers; the
// leaving switcher's trace gives when the command reached it and what its capture, rescale and save took. Beside
// them the yardsticks of the same run, taken between the switches: a bare BitBlt of the screen into a kept
// 32-bit DIB section and FreeImage's bare bicubic rescale of a frame of the screen. Then every program's CPU
// over a quiet interval and its resident memory, beside an empty Win32 program's. Ends with one "goal" line per
// goal: the ratio to its yardstick and whether it is met.
#include "BenchSupport.h"
#include "DebugMonitor.h"
#include "HubRun.h"
#include "Lib.h"
#include "MFreeImage.h"
#include "core/Geometry.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kQuietMs = 5000;

const char *DesktopName(int desk) {
    static const char *names[] = {"", "Default", "desk2", "desk3", "desk4"};
    return names[desk];
}

bool Populate(const TempFolder &folder) {
    bool ok = folder.Add(ProgramFolder() + L"\\Varnel.exe", L"Varnel.exe") &&
              folder.Add(ProgramFolder() + L"\\FreeImage.dll", L"FreeImage.dll") &&
              folder.Add(ProgramFolder() + L"\\VarnelEventHandler.exe", L"VarnelEventHandler.exe") &&
              folder.Add(ProgramFolder() + L"\\..\\tests\\bin\\recorder.exe", L"varnelerror.exe");
    for (int desk = 1; desk <= 4; ++desk) {
        const std::wstring n = std::to_wstring(desk);
        ok = ok && folder.Add(ProgramFolder() + L"\\Tavik" + n + L".exe", L"Tavik" + n + L".exe") &&
             folder.Add(ProgramFolder() + L"\\Pellum" + n + L".exe", L"Pellum" + n + L".exe");
    }
    return ok;
}

// The `nth` (from 1) trace line that contains `part`; an empty one, arrived at 0, when there is none.
DebugMonitor::Line NthLine(const DebugMonitor &monitor, const std::string &part, size_t nth) {
    size_t seen = 0;
    for (const auto &line : monitor.Lines()) {
        if (line.text.find(part) != std::string::npos && ++seen == nth)
            return line;
    }
    return {};
}

double ArrivalOf(const DebugMonitor &monitor, const std::string &part, size_t nth) {
    return NthLine(monitor, part, nth).milliseconds;
}

// What the leaving switcher's trace says: when the command reached it (on this program's clock, the performance
// counter) and the milliseconds of its steps.
struct Leave {
    double commandAt = 0, capture = 0, rescale = 0, save = 0;
};
bool ParseLeave(const std::string &text, Leave &leave) {
    const size_t at = text.find("command at ");
    return at != std::string::npos &&
           std::sscanf(text.c_str() + at, "command at %lf ms: capture %lf, rescale %lf, save %lf", &leave.commandAt,
                       &leave.capture, &leave.rescale, &leave.save) == 4;
}

void PrintGoal(const char *what, double value, const char *yardstick, double base, double most) {
    const double ratio = value / base;
    std::printf("goal: %s %.2f ms, %.2fx %s %.2f ms (at most %.2fx): %s\n", what, value, ratio, yardstick, base, most,
                ratio <= most ? "met" : "not met");
}

struct Program {
    std::string name;
    KernelHandle process;
    double residentAtStart = 0;
};

// Kernel and user time of all the process's threads: under Wine the process's own counters stay empty for other
// processes, while each thread's are read from the system.
double CpuMs(HANDLE process) {
    const DWORD processId = ::GetProcessId(process);
    const FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    const auto ticks = [](const FILETIME &time) {
        return static_cast<double>(static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    };
    double total = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Thread32First(snapshot.Get(), &entry); more;
         more = ::Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        const KernelHandle thread(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME created, ended, kernel, user;
        if (thread && ::GetThreadTimes(thread.Get(), &created, &ended, &kernel, &user))
            total += (ticks(kernel) + ticks(user)) / 10000.0;
    }
    return total;
}

double ResidentMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(process, &counters, sizeof counters)
               ? static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)
               : -1;
}

// The system's programs, found by their file names among this prefix's processes.
std::vector<Program> FindPrograms() {
    std::vector<Program> programs;
    std::vector<std::string> names = {"Varnel", "VarnelEventHandler"};
    for (int desk = 1; desk <= 4; ++desk) {
        names.push_back("Tavik" + std::to_string(desk));
        names.push_back("Pellum" + std::to_string(desk));
    }
    const FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32First(snapshot.Get(), &entry); more;
         more = ::Process32Next(snapshot.Get(), &entry)) {
        for (const auto &name : names) {
            if (_stricmp(entry.szExeFile, (name + ".exe").c_str()) == 0)
                programs.push_back({name, KernelHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                                                     entry.th32ProcessID))});
        }
    }
    return programs;
}

void PrintSpread(const char *what, const std::vector<double> &values) {
    std::printf("%s: median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n", what, Median(values),
                Percentile(values, 0.95), Max(values));
}

}  // namespace

int main(int argc, char **argv) {
    const int switches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");  // the default hot keys, Windows key + digit
    DebugMonitor monitor;
    TempFolder folder;
    if (!monitor.Active() || !Populate(folder) || !FreeImageAvailable()) {
        std::printf("road bench: no debug monitor, or the program folder lacks a program or FreeImage.dll\n");
        return 1;
    }
    KernelHandle empty = StartProcess(TestBinDir() + L"\\empty_program.exe", L"");
    HubRun hub(folder);
    if (!empty || !hub.Start(monitor)) {
        std::printf("road bench: the hub or the empty program did not start\n");
        return 1;
    }
    for (int desk = 1; desk <= 4; ++desk) {
        if (!monitor.WaitFor("Tavik" + std::to_string(desk) + ": started", 1, 30000)) {
            std::printf("road bench: switcher %d did not start\n", desk);
            return 1;
        }
    }
    WaitFor([] { return ::FindWindowA("VarnelBenchEmptyProgram", nullptr) != nullptr; });
    std::vector<Program> programs = FindPrograms();
    programs.push_back({"empty Win32 program", std::move(empty)});
    for (auto &program : programs)
        program.residentAtStart = ResidentMb(program.process.Get());

    const ScreenBlit blit;
    const GdiObject<HBITMAP> kept = blit.NewSection();
    const LargeViewLayout layout = ArrangeFrames(blit.Width(), blit.Height());
    ScreenCapture capturer;
    const Image frame = capturer.CaptureScreen(nullptr);
    std::vector<double> switchCpu;
    for (const auto &program : programs)
        switchCpu.push_back(CpuMs(program.process.Get()));

    std::vector<double> toSwitch, toHub, toCommand, capture, requestToSwitch, switchToSignals, signalsToReloads,
        toReloads, work, keptBlit, bareRescale;
    std::vector<double> toSwitchLeaving[5];  // by the desktop left, whose switcher captures
    int current = 1;
    for (int i = 0; i < switches; ++i) {
        const int target = current % 4 + 1;
        const std::string switched = "cDesktop" + std::to_string(target) + ": switched to " + DesktopName(target);
        const std::string asked =
            "Varnel: hot key asks switcher " + std::to_string(current) + " for desktop " + std::to_string(target);
        const std::string left = "; left for desktop " + std::to_string(target) + ", command at";
        const std::string reloaded = ": reloaded the picture of desktop " + std::to_string(current);
        const size_t switchedBefore = monitor.Matching(switched).size();
        const size_t askedBefore = monitor.Matching(asked).size();
        const size_t leftBefore = monitor.Matching(left).size();
        const size_t reloadedBefore = monitor.Matching(reloaded).size();
        const double pressed = NowMs();
        PressHotKey(MOD_WIN, static_cast<WORD>('0' + target));
        Leave leave;
        if (!monitor.WaitFor(switched, switchedBefore + 1, 5000) ||
            !monitor.WaitFor(reloaded, reloadedBefore + 3, 5000) || !monitor.WaitFor(left, leftBefore + 1, 5000) ||
            !ParseLeave(NthLine(monitor, left, leftBefore + 1).text, leave)) {
            std::printf("road bench: switch %d to desktop %d, its reloads or its leave's trace did not happen\n", i + 1,
                        target);
            return 1;
        }
        const double switchAt = ArrivalOf(monitor, switched, switchedBefore + 1);
        const double reloadsAt = ArrivalOf(monitor, reloaded, reloadedBefore + 3);
        const double signalsAt = leave.commandAt + leave.capture + leave.rescale + leave.save;
        toSwitch.push_back(switchAt - pressed);
        toSwitchLeaving[current].push_back(switchAt - pressed);
        toHub.push_back(ArrivalOf(monitor, asked, askedBefore + 1) - pressed);
        toCommand.push_back(leave.commandAt - pressed);
        capture.push_back(leave.capture);
        requestToSwitch.push_back(switchAt - (leave.commandAt + leave.capture));
        switchToSignals.push_back(signalsAt - switchAt);
        signalsToReloads.push_back(reloadsAt - signalsAt);
        toReloads.push_back(reloadsAt - switchAt);
        work.push_back(leave.rescale + leave.save);
        keptBlit.push_back(blit.Into(kept.Get()));
        bareRescale.push_back(BareRescale(frame.Get(), layout.picWidth - 6, layout.picHeight - 6));
        current = target;
    }
    for (size_t i = 0; i < programs.size(); ++i)
        switchCpu[i] = CpuMs(programs[i].process.Get()) - switchCpu[i];

    std::vector<double> idleCpu;
    for (const auto &program : programs)
        idleCpu.push_back(CpuMs(program.process.Get()));
    ::Sleep(kQuietMs);  // the quiet interval itself is what is measured
    for (size_t i = 0; i < programs.size(); ++i)
        idleCpu[i] = CpuMs(programs[i].process.Get()) - idleCpu[i];

    std::printf("%d hot-key switches cycling through the four desktops, screen %dx%d, thumbnail %dx%d\n", switches,
                blit.Width(), blit.Height(), layout.picWidth - 6, layout.picHeight - 6);
    PrintSpread("hot key -> the hub's switch", toSwitch);
    PrintSpread("  hot key -> the hub's hot-key trace", toHub);
    PrintSpread("  hot key -> the command at the leaving switcher", toCommand);
    PrintSpread("  its capture", capture);
    PrintSpread("  the request (after the capture) -> the hub's switch", requestToSwitch);
    std::printf("  median by the desktop left:");
    for (int desk = 1; desk <= 4; ++desk)
        std::printf(" %d: %.2f ms", desk, Median(toSwitchLeaving[desk]));
    std::printf("\n");
    PrintSpread("switch -> picture reloaded in the other three switchers", toReloads);
    PrintSpread("  the leaving switcher's rescale + save", work);
    PrintSpread("  switch -> the update signals (the rest of the rescale, the save)", switchToSignals);
    PrintSpread("  the update signals -> the third reload", signalsToReloads);
    std::printf(
        "yardsticks of the same run: bare BitBlt into a kept 32-bit DIB section median %.2f ms (95th "
        "percentile %.2f); bare bicubic rescale of the same frame median %.2f ms (95th percentile %.2f)\n",
        Median(keptBlit), Percentile(keptBlit, 0.95), Median(bareRescale), Percentile(bareRescale, 0.95));
    std::printf("%-22s %14s %16s %18s %15s\n", "program", "CPU ms / switch", "idle CPU ms in 5 s", "resident MB start",
                "after switches");
    double emptyMb = 0, set = 0, idleMost = 0;
    for (size_t i = 0; i < programs.size(); ++i) {
        const double after = ResidentMb(programs[i].process.Get());
        std::printf("%-22s %14.2f %16.1f %18.1f %15.1f\n", programs[i].name.c_str(), switchCpu[i] / switches,
                    idleCpu[i], programs[i].residentAtStart, after);
        if (i + 1 == programs.size()) {
            emptyMb = after;
        } else {
            set += after;
            idleMost = std::max(idleMost, idleCpu[i]);
        }
    }
    const double setPrograms = static_cast<double>(programs.size() - 1);

    const double floor = Median(toCommand) + Median(keptBlit);
    std::printf("the floor of a switch that captures first: hot key -> command %.2f ms + bare BitBlt %.2f ms\n",
                Median(toCommand), Median(keptBlit));
    PrintGoal("hot key -> switch median", Median(toSwitch), "the floor", floor, 1.10);
    PrintGoal("hot key -> switch 95th percentile", Percentile(toSwitch, 0.95), "the floor", floor, 1.25);
    PrintGoal("capture median", Median(capture), "the bare BitBlt into a kept DIB section", Median(keptBlit), 1.05);
    PrintGoal("switch -> reloads median", Median(toReloads), "the leaving switcher's rescale + save", Median(work),
              1.2);
    std::printf("goal: idle CPU at most %.1f ms in %lu s for every program of the set: %s\n", idleMost, kQuietMs / 1000,
                idleMost == 0 ? "met" : "not met");
    std::printf(
        "goal: the set's resident memory %.1f MB, %.2fx %.0f empty Win32 programs %.1f MB (at most 1.25x): %s\n", set,
        set / (setPrograms * emptyMb), setPrograms, setPrograms * emptyMb,
        set <= 1.25 * setPrograms * emptyMb ? "met" : "not met");
    ::TerminateProcess(programs.back().process.Get(), 0);
    hub.Stop();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    return 0;
}
