// The programs the hub started, found again among its child processes: after a failed start-up the hub waits
// for them to end before it lets go of the events they are still opening.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Waits up to `timeoutMs` until no running child process of the hub runs one of `programs` (full paths).
void WaitForStartedPrograms(const std::vector<std::wstring> &programs, DWORD timeoutMs);
