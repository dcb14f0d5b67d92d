// The message loop every program runs on its one thread.
#pragma once
#include <windows.h>

#include <string>

class MessageLoop {
public:
    // `logPrefix` names the program in the log ("Varnel: ", "Tavik2: ", ...).
    explicit MessageLoop(std::string logPrefix) : m_logPrefix(std::move(logPrefix)) {}
    // The next message of the thread; false at WM_QUIT. A failed wait (Wine fails it for a copy-data block too
    // large to deliver, which any process can send) is not an end: it is logged once and the wait goes on.
    bool Next(MSG &message);
    // Dispatches until WM_QUIT and answers its exit code; `dialog`, when given, gets a dialog's keyboard handling,
    // after the key combinations of `accelerators`, which become its WM_COMMAND messages.
    int Run(HWND dialog = nullptr, HACCEL accelerators = nullptr);

private:
    std::string m_logPrefix;
    bool m_failureLogged = false;
};
