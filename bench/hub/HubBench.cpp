// Hub benchmark: start-up time, and the latency from a hot key to the hub's switch call through the real
// relays, with stand-in switchers that answer every switch request at once. Prints the figures.
#include "BenchSupport.h"
#include "DebugMonitor.h"
#include "HubRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char *DesktopName(int desk) {
    static const char *names[] = {"", "Default", "desk2", "desk3", "desk4"};
    return names[desk];
}

}  // namespace

int main(int argc, char **argv) {
    const int switches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    DebugMonitor monitor;
    TempFolder folder;
    const std::wstring standIns = ProgramFolder() + L"\\..\\tests\\bin";  // recorder and responder
    bool ready = monitor.Active() && folder.Add(ProgramFolder() + L"\\Varnel.exe", L"Varnel.exe") &&
                 folder.Add(standIns + L"\\recorder.exe", L"varnelerror.exe");
    for (int desk = 1; desk <= 4; ++desk) {
        const std::wstring n = std::to_wstring(desk);
        ready = ready && folder.Add(standIns + L"\\responder.exe", L"Tavik" + n + L".exe") &&
                folder.Add(ProgramFolder() + L"\\Pellum" + n + L".exe", L"Pellum" + n + L".exe");
    }
    ready = ready && folder.Add(ProgramFolder() + L"\\VarnelEventHandler.exe", L"VarnelEventHandler.exe");
    if (!ready) {
        std::printf("hub bench: the program folder lacks Varnel.exe or the relays\n");
        return 1;
    }

    HubRun hub(folder);
    const double start = DebugMonitor::Now();
    if (!hub.Start(monitor)) {
        std::printf("hub bench: the hub did not start\n");
        return 1;
    }
    double started = start;
    for (const auto &line : monitor.Lines()) {
        if (line.text == "Varnel: started")
            started = line.milliseconds;
    }
    const auto responders = [&] {
        for (int desk = 1; desk <= 4; ++desk) {
            if (ReadFileBytes(folder.File(L"Tavik" + std::to_wstring(desk) + L".rec")).find("ready") == std::string::npos)
                return false;
        }
        return true;
    };
    WaitFor(responders, 20000);
    const double switchersUp = DebugMonitor::Now();
    std::printf("hub start-up: %.1f ms to all 47 events and twelve programs started; %.1f ms until the four "
                "switchers answer\n",
                started - start, switchersUp - start);

    std::vector<double> latencies;
    int current = 1;
    for (int i = 0; i < switches; ++i) {
        const int target = current % 4 + 1;
        const std::string switched = std::string("switched to ") + DesktopName(target);
        const size_t before = monitor.Matching(switched).size();
        const double pressed = DebugMonitor::Now();
        PressHotKey(MOD_WIN, static_cast<WORD>('0' + target));
        if (!monitor.WaitFor(switched, before + 1, 5000)) {
            std::printf("hub bench: switch %d to desktop %d did not happen\n", i + 1, target);
            return 1;
        }
        double at = 0;
        for (const auto &line : monitor.Lines()) {
            if (line.text.find(switched) != std::string::npos)
                at = line.milliseconds;
        }
        latencies.push_back(at - pressed);
        current = target;
    }
    std::printf("hot key to switch (%d switches through the relays): median %.2f ms, 95th percentile %.2f ms, "
                "max %.2f ms\n",
                switches, Median(latencies), Percentile(latencies, 0.95),
                Max(latencies));
    return 0;
}
