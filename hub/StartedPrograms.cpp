#include "StartedPrograms.h"

#include "Handles.h"
#include "core/HubState.h"

#include <tlhelp32.h>

#include <algorithm>

void WaitForStartedPrograms(const std::vector<std::wstring> &programs, DWORD timeoutMs) {
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    std::vector<KernelHandle> running;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more && running.size() < MAXIMUM_WAIT_OBJECTS;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID != ::GetCurrentProcessId())
            continue;
        KernelHandle process(
            ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, path, &size))
            continue;
        const std::wstring_view image(path, size);
        if (std::any_of(programs.begin(), programs.end(),
                        [&](const std::wstring &program) { return SameProgramPath(image, program); }))
            running.push_back(std::move(process));
    }
    std::vector<HANDLE> handles;
    for (const KernelHandle &process : running)
        handles.push_back(process.Get());
    if (!handles.empty())
        ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, timeoutMs);
}
