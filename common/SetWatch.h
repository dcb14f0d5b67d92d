// How the programs of one set watch one another end: the hub that started a program, and the rule that tells an
// orderly end from a death.
#pragma once
#include "Handles.h"
#include "MessageLoop.h"

#include <windows.h>

#include <functional>

// Every program of the set ends with 0 when it was told to end (its close event, "EndApp", the session's end); a
// program ended from outside (a crash, TerminateProcess, a task manager) ends with another code.
inline bool EndedInOrder(DWORD exitCode) {
    return exitCode == 0;
}

// The process of the hub (Varnel.exe) that started this program, opened to wait on and to read its exit code;
// empty when the program was started by anything else.
KernelHandle OpenStartingHub();

// Whether this program's set is ending: whoever started it has gone, or the hub that started it ends within
// `waitMs`. A shutdown right after start-up can end a set while its last programs still start.
bool SetEnding(DWORD waitMs);

// The exit code of an ended process, or STILL_ACTIVE.
DWORD ExitCodeOf(HANDLE process);

// One process watched from a message loop: `died` runs once if it ends other than in order; an orderly end is
// only let go of.
class ProcessWatch : public IWaitList {
public:
    ProcessWatch(KernelHandle process, std::function<void(DWORD exitCode)> died)
        : m_process(std::move(process)), m_died(std::move(died)) {}
    std::vector<HANDLE> Handles() const override;
    void Signalled(HANDLE handle) override;

private:
    KernelHandle m_process;
    std::function<void(DWORD)> m_died;
};
