// The hub's watch over the switchers, relays and shells of its desktops: one that dies while the hub runs is
// logged and started again on its desktop, within a start limit; one that ends in order is let go. Also ends the
// programs of an earlier set before the hub starts its own.
#pragma once
#include "Handles.h"
#include "MessageLoop.h"
#include "core/RestartBudget.h"

#include <string>
#include <vector>

class cDesktop;

class Supervisor : public IWaitList {
public:
    // Watches `process`, started from `path` on `desktop` (its shell when `shell`); a program started again takes
    // its own place.
    void Adopt(cDesktop &desktop, const std::wstring &path, KernelHandle process, bool shell);
    // The hub ends in order: no program is watched or started again from now on.
    void Stop();
    // While the session may end, programs that end are not watched; when it goes on, those that died meanwhile
    // are dealt with as any death.
    void Hold(bool held) { m_held = held; }
    // Waits up to `timeoutMs` until every watched program but the shells and the one started from `except` has
    // ended (after a failed start-up).
    void WaitForAll(DWORD timeoutMs, const std::wstring &except) const;

    std::vector<HANDLE> Handles() const override;
    void Signalled(HANDLE handle) override;

private:
    struct Child {
        cDesktop *desktop;
        std::wstring path;
        KernelHandle process;
        bool shell;
        RestartBudget budget;
    };
    std::vector<Child> m_children;
    bool m_stopped = false;
    bool m_held = false;
};

// Ends the switchers and relays of `programDirectory` that still run from an earlier set, through their close
// events as often as needed and within a bounded wait; what is left then is ended by force. Logs what it did.
void EndEarlierSet(const std::wstring &programDirectory);
