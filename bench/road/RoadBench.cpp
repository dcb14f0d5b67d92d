// End to end: the real hub, relays and four switchers in a throwaway program folder, driven by hot-key switches
// that cycle through the four desktops. The programs' own traces (read through the debug monitor) time each
// switch: hot key -> the hub's switch, and switch -> the picture reloaded by the other three switchers; the
// leaving switcher's trace gives when the command reached it and what its capture, rescale and save took. Beside
// them the yardsticks of the same run, taken between the switches: a bare BitBlt of the screen into a kept
// 32-bit DIB section and FreeImage's bare bicubic rescale of a frame of the screen. Then every program's CPU
// over a quiet interval and its resident memory, beside an empty Win32 program's. Ends with one "goal" line per
// goal: the ratio to its yardstick and whether it is met. Only the switcher of the shown desktop holds its capture's
// pixels ahead of need, and Wine names "Default" as the input desktop whatever is shown: there only switcher 1's
// leaves find them held, so the switch and capture goals are also given for the switches that did.
#include "BenchSupport.h"
#include "DebugMonitor.h"
#include "HubRun.h"
#include "Lib.h"
#include "MFreeImage.h"
#include "core/BmpFile.h"
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
// counter), whether it held its capture's pixels, and the milliseconds of its steps.
struct Leave {
    double commandAt = 0, capture = 0, rescale = 0, save = 0;
    bool held = false;
};
bool ParseLeave(const std::string &text, Leave &leave) {
    const size_t at = text.find("command at ");
    char pixels[8] = {};
    if (at == std::string::npos ||
        std::sscanf(text.c_str() + at, "command at %lf ms: capture %lf (%7s pixels), rescale %lf, save %lf",
                    &leave.commandAt, &leave.capture, pixels, &leave.rescale, &leave.save) != 5)
        return false;
    leave.held = std::string(pixels) == "held";
    return true;
}

// What a reloading switcher's trace says: when the command reached it and what the load took.
bool ParseReload(const std::string &text, double &commandAt, double &load) {
    const size_t at = text.find("command at ");
    return at != std::string::npos &&
           std::sscanf(text.c_str() + at, "command at %lf ms: load %lf", &commandAt, &load) == 2;
}

// One switch of the road, in milliseconds.
struct Switch {
    int left = 0;
    bool held = false;  // the leaving switcher held its capture's pixels
    double toSwitch = 0, toHub = 0, toCommand = 0, capture = 0, requestToSwitch = 0;
    double work = 0, toReloads = 0, switchToSignals = 0, signalsToReader = 0, signalsToReloads = 0;
    std::vector<double> loads;
    double keptBlit = 0, bareRescale = 0;
};

template <class Keep>
std::vector<double> Values(const std::vector<Switch> &road, double Switch::*field, Keep keep) {
    std::vector<double> values;
    for (const Switch &one : road) {
        if (keep(one))
            values.push_back(one.*field);
    }
    return values;
}
std::vector<double> Values(const std::vector<Switch> &road, double Switch::*field) {
    return Values(road, field, [](const Switch &) { return true; });
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

    std::vector<Switch> road;
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
        Switch one;
        one.left = current;
        one.held = leave.held;
        const double switchAt = ArrivalOf(monitor, switched, switchedBefore + 1);
        const double signalsAt = leave.commandAt + leave.capture + leave.rescale + leave.save;
        one.toSwitch = switchAt - pressed;
        one.toHub = ArrivalOf(monitor, asked, askedBefore + 1) - pressed;
        one.toCommand = leave.commandAt - pressed;
        one.capture = leave.capture;
        one.requestToSwitch = switchAt - (leave.commandAt + leave.capture);
        one.work = leave.rescale + leave.save;
        one.switchToSignals = signalsAt - switchAt;
        const double reloadsAt = ArrivalOf(monitor, reloaded, reloadedBefore + 3);
        one.toReloads = reloadsAt - switchAt;
        one.signalsToReloads = reloadsAt - signalsAt;
        one.signalsToReader = 1e9;
        for (size_t n = 1; n <= 3; ++n) {
            double commandAt = 0, load = 0;
            if (ParseReload(NthLine(monitor, reloaded, reloadedBefore + n).text, commandAt, load)) {
                one.signalsToReader = std::min(one.signalsToReader, commandAt - signalsAt);
                one.loads.push_back(load);
            }
        }
        one.keptBlit = blit.Into(kept.Get());
        one.bareRescale = BareRescale(frame.Get(), layout.picWidth - 6, layout.picHeight - 6);
        road.push_back(one);
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

    const auto held = [](const Switch &one) { return one.held; };
    const std::vector<double> keptBlit = Values(road, &Switch::keptBlit), toCommand = Values(road, &Switch::toCommand);
    std::vector<double> loads;
    for (const Switch &one : road)
        loads.insert(loads.end(), one.loads.begin(), one.loads.end());
    const size_t heldCount = Values(road, &Switch::capture, held).size();
    std::printf("%d hot-key switches cycling through the four desktops, screen %dx%d, thumbnail %dx%d\n", switches,
                blit.Width(), blit.Height(), layout.picWidth - 6, layout.picHeight - 6);
    PrintSpread("hot key -> the hub's switch", Values(road, &Switch::toSwitch));
    PrintSpread("  hot key -> the hub's hot-key trace", Values(road, &Switch::toHub));
    PrintSpread("  hot key -> the command at the leaving switcher", toCommand);
    PrintSpread("  its capture", Values(road, &Switch::capture));
    PrintSpread("  the request (after the capture) -> the hub's switch", Values(road, &Switch::requestToSwitch));
    std::printf("  median by the desktop left:");
    for (int desk = 1; desk <= 4; ++desk)
        std::printf(" %d: %.2f ms", desk,
                    Median(Values(road, &Switch::toSwitch, [desk](const Switch &one) { return one.left == desk; })));
    std::printf("\n");
    std::printf("switches whose leaving switcher held its capture's pixels (made ahead of need): %zu of %d\n",
                heldCount, switches);
    if (heldCount > 0) {
        PrintSpread("  hot key -> the hub's switch", Values(road, &Switch::toSwitch, held));
        PrintSpread("  the capture", Values(road, &Switch::capture, held));
    }
    if (heldCount < road.size()) {
        const auto fresh = [](const Switch &one) { return !one.held; };
        std::printf("the others, whose switcher made its capture's pixels anew:\n");
        PrintSpread("  hot key -> the hub's switch", Values(road, &Switch::toSwitch, fresh));
        PrintSpread("  the capture", Values(road, &Switch::capture, fresh));
    }
    PrintSpread("switch -> picture reloaded in the other three switchers", Values(road, &Switch::toReloads));
    PrintSpread("  the leaving switcher's rescale + save", Values(road, &Switch::work));
    PrintSpread("  switch -> the update signals (the rest of the rescale, the save)",
                Values(road, &Switch::switchToSignals));
    PrintSpread("  the update signals -> the first reloading switcher has its command",
                Values(road, &Switch::signalsToReader));
    PrintSpread("  each reloading switcher's load", loads);
    PrintSpread("  the update signals -> the third reload traced", Values(road, &Switch::signalsToReloads));
    std::printf(
        "yardsticks of the same run: bare BitBlt into a kept 32-bit DIB section median %.2f ms (95th "
        "percentile %.2f); bare bicubic rescale of the same frame median %.2f ms (95th percentile %.2f)\n",
        Median(keptBlit), Percentile(keptBlit, 0.95), Median(Values(road, &Switch::bareRescale)),
        Percentile(Values(road, &Switch::bareRescale), 0.95));
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
    const double bufferMb = static_cast<double>(BmpRowStride(blit.Width())) * blit.Height() / (1024.0 * 1024.0);

    const double floor = Median(toCommand) + Median(keptBlit);
    std::vector<double> floors;  // switch by switch: how much the platform alone spreads
    for (const Switch &one : road)
        floors.push_back(one.toCommand + one.keptBlit);
    std::printf(
        "the floor of a switch that captures first: hot key -> command %.2f ms + bare BitBlt %.2f ms; switch by "
        "switch its 95th percentile is %.2fx its median\n",
        Median(toCommand), Median(keptBlit), Percentile(floors, 0.95) / Median(floors));
    const auto switchGoals = [&](const std::string &which, const std::vector<double> &toSwitch) {
        PrintGoal(("hot key -> switch median" + which).c_str(), Median(toSwitch), "the floor", floor, 1.10);
        PrintGoal(("hot key -> switch 95th percentile" + which).c_str(), Percentile(toSwitch, 0.95), "the floor", floor,
                  1.25);
    };
    switchGoals("", Values(road, &Switch::toSwitch));
    if (heldCount > 0 && heldCount < road.size())
        switchGoals(" (switchers that held their pixels)", Values(road, &Switch::toSwitch, held));
    PrintGoal("capture median (the road's)", Median(Values(road, &Switch::capture)),
              "the bare BitBlt into a kept DIB section", Median(keptBlit), 1.05);
    if (heldCount > 0 && heldCount < road.size())
        PrintGoal("capture median (the road's, switchers that held their pixels)",
                  Median(Values(road, &Switch::capture, held)), "the bare BitBlt into a kept DIB section",
                  Median(keptBlit), 1.05);
    PrintGoal("switch -> reloads median", Median(Values(road, &Switch::toReloads)),
              "the leaving switcher's rescale + save", Median(Values(road, &Switch::work)), 1.2);
    std::printf("goal: idle CPU at most %.1f ms in %lu s for every program of the set: %s\n", idleMost, kQuietMs / 1000,
                idleMost == 0 ? "met" : "not met");
    // One switcher holding its capture buffer is what the switch's speed costs: the goal leaves it out.
    const double empties = setPrograms * emptyMb;
    std::printf("goal: the set's resident memory less the one held capture buffer (%.1f MB) %.1f MB, %.3fx %.0f empty "
                "Win32 programs %.1f MB (at most 1.25x): %s; with it %.2fx\n",
                bufferMb, set - bufferMb, (set - bufferMb) / empties, setPrograms, empties,
                set - bufferMb <= 1.25 * empties ? "met" : "not met", set / empties);
    ::TerminateProcess(programs.back().process.Get(), 0);
    hub.Stop();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    return 0;
}
