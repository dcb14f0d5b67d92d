// The message loop every program runs on its one thread.
#pragma once
#include <windows.h>

#include <functional>
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

// Where a loop's messages come from: GetMessageW's answer (-1 for a failed wait) and the message.
using MessageSource = std::function<BOOL(MSG &)>;

class MessageLoop {
public:
    // `logPrefix` names the program in the log ("Varnel: ", "Tavik2: ", ...); `waits`, when given, is waited on too;
    // `source` stands in for GetMessageW.
    explicit MessageLoop(std::string logPrefix, IWaitList *waits = nullptr, MessageSource source = {})
        : m_logPrefix(std::move(logPrefix)), m_waits(waits), m_source(std::move(source)) {}
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
    MessageSource m_source;
    bool m_failureLogged = false;
};
