#include "SetWatch.h"

#include <tlhelp32.h>

#include <string>

KernelHandle OpenStartingHub() {
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return {};
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD parentId = 0;
    std::wstring parentName;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self)
            parentId = entry.th32ParentProcessID;
    }
    if (parentId == 0)
        return {};
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == parentId)
            parentName = entry.szExeFile;
    }
    if (_wcsicmp(parentName.c_str(), L"Varnel.exe") != 0)
        return {};
    return KernelHandle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parentId));
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
