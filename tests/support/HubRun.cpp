#include "HubRun.h"

#include "SetWatch.h"
#include "core/EventNames.h"

#include <algorithm>

std::vector<std::wstring> HubRun::AllSiblings() {
    return {L"Tavik1", L"Tavik2", L"Tavik3", L"Tavik4", L"Pellum1", L"Pellum2", L"Pellum3", L"Pellum4",
            L"VarnelEventHandler", L"varnelerror"};
}

bool HubRun::Populate(const TempFolder &folder, const std::vector<std::wstring> &standIns) {
    bool ok = folder.Add(ProgramFolder() + L"\\Varnel.exe", L"Varnel.exe");
    for (const auto &name : standIns)
        ok = folder.Add(TestBinDir() + L"\\recorder.exe", name + L".exe") && ok;
    return ok;
}

bool HubRun::Start(const DebugMonitor &monitor, const wchar_t *desktop) {
    const size_t before = monitor.Matching("Varnel: started").size();
    m_process = StartProcess(m_folder.File(L"Varnel.exe"), L"", desktop);
    m_processId = m_process ? ::GetProcessId(m_process.Get()) : 0;
    // A hub that hands over to the one it started ends with 0, a failed start with another code.
    const auto failed = [&] { return !Running() && ExitCodeOf(m_process.Get()) != 0; };
    if (!m_process ||
        !::WaitFor([&] { return monitor.Matching("Varnel: started").size() > before || failed(); }, 20000) || failed())
        return false;
    const std::vector<DebugMonitor::Line> lines = monitor.Lines();
    const auto started =
        std::find_if(lines.rbegin(), lines.rend(), [](const auto &l) { return l.text == "Varnel: started"; });
    if (started->processId != m_processId) {
        m_processId = started->processId;
        m_process.Reset(
            ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, m_processId));
    }
    return Running();
}

bool HubRun::Running() const {
    return m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

bool HubRun::WaitForExit(DWORD timeoutMs) const {
    return !m_process || ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool HubRun::Kill() const {
    return m_process && ::TerminateProcess(m_process.Get(), 1) && WaitForExit();
}

void HubRun::Stop() {
    // The close events of the hub relay and the switchers, taken before the hub lets go of them: real relays
    // hand these on and end, real switchers end on the "EndApp" they get.
    std::vector<KernelHandle> closeEvents;
    for (int16_t index : ShutdownEvents)
        closeEvents.emplace_back(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
    if (Running()) {
        if (Window() != nullptr)
            Send("EndApp");
        if (!WaitForExit(5000))
            ::TerminateProcess(m_process.Get(), 1);
    }
    WaitForExit();
    for (const auto &event : closeEvents)
        ::SetEvent(event.Get());
    if (m_processId != 0) {
        EndChildProcesses(m_processId, L"explorer.exe");
        EndChildProcesses(m_processId, L"", 5000);
    }
    m_process.Reset();
    m_processId = 0;
}
