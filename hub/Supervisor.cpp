#include "Supervisor.h"

#include "AnsiText.h"
#include "Log.h"
#include "SetWatch.h"
#include "cDesktop.h"
#include "core/EventNames.h"
#include "core/HubState.h"
#include "core/ProgramFiles.h"

#include <tlhelp32.h>

#include <algorithm>
#include <span>

namespace {

std::string Describe(const cDesktop &desktop, const std::wstring &path) {
    return ToAnsi(path.substr(path.find_last_of(L'\\') + 1)) + " on desktop " + std::to_string(desktop.Number());
}

}  // namespace

void Supervisor::Adopt(cDesktop &desktop, const std::wstring &path, KernelHandle process, bool shell) {
    if (m_stopped)
        return;
    for (Child &child : m_children) {
        if (child.desktop == &desktop && child.path == path) {
            child.process = std::move(process);
            return;
        }
    }
    m_children.push_back({&desktop, path, std::move(process), shell, {}});
}

void Supervisor::Stop() {
    m_stopped = true;
    m_children.clear();
}

void Supervisor::WaitForAll(DWORD timeoutMs, const std::wstring &except) const {
    std::vector<HANDLE> handles;
    for (const Child &child : m_children) {
        // Shells outlive the hub: they are the user's.
        if (child.process && !child.shell && child.path != except)
            handles.push_back(child.process.Get());
    }
    if (!handles.empty())
        ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, timeoutMs);
}

std::vector<HANDLE> Supervisor::Handles() const {
    std::vector<HANDLE> handles;
    if (m_held)
        return handles;
    for (const Child &child : m_children) {
        if (child.process)
            handles.push_back(child.process.Get());
    }
    return handles;
}

void Supervisor::Signalled(HANDLE handle) {
    const auto found =
        std::find_if(m_children.begin(), m_children.end(), [&](const Child &c) { return c.process.Get() == handle; });
    if (found == m_children.end())
        return;
    Child &child = *found;
    const DWORD code = ExitCodeOf(handle);
    child.process.Reset();
    const std::string what = Describe(*child.desktop, child.path);
    if (EndedInOrder(code)) {
        Trace("Varnel: " + what + " ended in order");
        return;
    }
    const std::string ended = "Varnel: " + what + " ended with exit code " + std::to_string(code);
    // A desktop has one shell: one that runs there by now (the user started it) is watched in its place.
    if (KernelHandle running = child.shell ? child.desktop->RunningShell() : KernelHandle()) {
        LogError(ended + "; the shell running there now is watched instead");
        child.process = std::move(running);
        return;
    }
    if (!child.budget.Allow(::GetTickCount64())) {
        LogError(ended + "; it died " + std::to_string(RestartBudget::kRestarts + 1) +
                 " times within a minute and is not started again");
        ReportError(8, ToAnsi(child.path.substr(child.path.find_last_of(L'\\') + 1)));
        return;
    }
    LogError(ended + "; it is started again");
    // The start hands the new process back through Adopt, which puts it in this child's place.
    cDesktop &desktop = *child.desktop;
    const std::wstring path = child.path;
    if (!desktop.StartProcess(path, L""))
        LogError("Varnel: " + what + " could not be started again: " + desktop.GetLastError());
}

namespace {

constexpr int kRounds = 4;
constexpr DWORD kRoundMs = 1500;

std::vector<KernelHandle> RunningSetPrograms(const std::wstring &programDirectory) {
    std::vector<KernelHandle> found;
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return found;
    // The same user's set in another session (a second remote log-on) is that session's own.
    DWORD ownSession = 0, session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &ownSession);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (!::ProcessIdToSessionId(entry.th32ProcessID, &session) || session != ownSession)
            continue;
        const std::span<const std::wstring_view> set = SetProgramFiles();
        if (std::none_of(set.begin(), set.end(),
                         [&](std::wstring_view name) { return SameProgramPath(entry.szExeFile, name); }))
            continue;
        KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                                           entry.th32ProcessID));
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        // Only this installation's programs: a copy in another folder belongs to nobody's set here.
        if (process && ::QueryFullProcessImageNameW(process.Get(), 0, image, &size) &&
            SameProgramPath(std::wstring_view(image, size), programDirectory + L"\\" + entry.szExeFile))
            found.push_back(std::move(process));
    }
    return found;
}

}  // namespace

void EndEarlierSet(const std::wstring &programDirectory) {
    std::vector<KernelHandle> left = RunningSetPrograms(programDirectory);
    if (left.empty())
        return;
    LogError("Varnel: " + std::to_string(left.size()) + " programs of an earlier set still run; they are ended first");
    std::vector<KernelHandle> events;
    // The control panel's Shutdown events: each set hands "EndApp" to one switcher and ends one relay.
    for (const int16_t index : ShutdownEvents)
        events.emplace_back(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
    // Each set wakes one waiting relay; with more than one set left over it takes more than one round.
    for (int round = 0; round < kRounds && !left.empty(); ++round) {
        for (const KernelHandle &event : events)
            ::SetEvent(event.Get());
        std::vector<HANDLE> handles;
        for (const KernelHandle &process : left)
            handles.push_back(process.Get());
        ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, kRoundMs);
        std::erase_if(left, [](const KernelHandle &p) { return ::WaitForSingleObject(p.Get(), 0) == WAIT_OBJECT_0; });
    }
    for (const KernelHandle &process : left) {
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), 5000);
    }
    if (!left.empty())
        LogError("Varnel: " + std::to_string(left.size()) +
                 " programs of the earlier set did not end; they were ended by force");
}
