#include "SetWatch.h"

#include <tlhelp32.h>

#include <string>

namespace {

// This process's parent as the system lists it: its id, and its file name while it runs (empty once it ended).
struct Parent {
    DWORD id = 0;
    std::wstring name;
};

Parent FindParent() {
    Parent parent;
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return parent;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self)
            parent.id = entry.th32ParentProcessID;
    }
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); parent.id != 0 && more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == parent.id)
            parent.name = entry.szExeFile;
    }
    return parent;
}

// The hub among parents: a process of the hub's file name, opened to wait on and to read its exit code.
KernelHandle OpenIfHub(const Parent &parent) {
    if (_wcsicmp(parent.name.c_str(), L"Varnel.exe") != 0)
        return {};
    return KernelHandle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent.id));
}

}  // namespace

KernelHandle OpenStartingHub() {
    return OpenIfHub(FindParent());
}

bool SetEnding(DWORD waitMs) {
    const Parent parent = FindParent();
    if (parent.id != 0 && parent.name.empty())
        return true;
    const KernelHandle hub = OpenIfHub(parent);
    return hub && ::WaitForSingleObject(hub.Get(), waitMs) == WAIT_OBJECT_0;
}

DWORD ExitCodeOf(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    if (!::GetExitCodeProcess(process, &code))
        return STILL_ACTIVE;
    return code;
}

std::vector<HANDLE> ProcessWatch::Handles() const {
    return m_process ? std::vector<HANDLE>{m_process.Get()} : std::vector<HANDLE>();
}

void ProcessWatch::Signalled(HANDLE handle) {
    if (handle != m_process.Get())
        return;
    const DWORD code = ExitCodeOf(handle);
    m_process.Reset();
    if (!EndedInOrder(code) && m_died)
        m_died(code);
}
