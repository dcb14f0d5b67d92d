// The message loop every program runs on its one thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Kernel objects a loop waits on beside its messages (the processes a program watches). The loop calls
// Signalled on its own thread; the list must then no longer hold that handle, or the loop would wake at once again.
class IWaitList {
public:
    virtual std::vector<HANDLE> Handles() const = 0;  // at most MAXIMUM_WAIT_OBJECTS - 1
    virtual void Signalled(HANDLE handle) = 0;

protected:
    ~IWaitList() = default;
};

class MessageLoop {
public:
    // `logPrefix` names the program in the log ("Varnel: ", "Tavik2: ", ...); `waits`, when given, is waited on too.
    explicit MessageLoop(std::string logPrefix, IWaitList *waits = nullptr)
        : m_logPrefix(std::move(logPrefix)), m_waits(waits) {}
    // The next message of the thread; false at WM_QUIT. A failed wait (Wine fails it for a copy-data block too
    // large to deliver, which any process can send) is not an end: it is logged once and the wait goes on.
    bool Next(MSG &message);
    // Dispatches until WM_QUIT and answers its exit code; `dialog`, when given, gets a dialog's keyboard handling,
    // after the key combinations of `accelerators`, which become its WM_COMMAND messages.
    int Run(HWND dialog = nullptr, HACCEL accelerators = nullptr);

private:
    // Waits for a message or a handle of `m_waits`; false when there is nothing to wait on but messages.
    bool WaitBeside(MSG &message, bool &got);
    void LogOnce(const std::string &what);

    std::string m_logPrefix;
    IWaitList *m_waits;
    bool m_failureLogged = false;
};
