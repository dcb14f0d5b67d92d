#include "MessageLoop.h"

#include "Log.h"
#include "WinAPIError.h"

void MessageLoop::LogOnce(const std::string &what) {
    if (m_failureLogged)
        return;
    m_failureLogged = true;
    LogError(m_logPrefix + what + WinAPIErrorText(::GetLastError()));
}

bool MessageLoop::WaitBeside(MSG &message, bool &got) {
    const std::vector<HANDLE> handles = m_waits != nullptr ? m_waits->Handles() : std::vector<HANDLE>();
    if (handles.empty() || handles.size() >= MAXIMUM_WAIT_OBJECTS)
        return false;
    const auto count = static_cast<DWORD>(handles.size());
    // MWMO_INPUTAVAILABLE: messages already seen but left in the queue wake the wait too.
    const DWORD result =
        ::MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result < WAIT_OBJECT_0 + count) {
        m_waits->Signalled(handles[result - WAIT_OBJECT_0]);
        got = false;
        return true;
    }
    if (result != WAIT_OBJECT_0 + count) {
        LogOnce("Waiting for a program to end failed: ");
        return false;
    }
    // Sent messages are handled inside PeekMessage, which then finds nothing to hand back.
    got = ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
    return true;
}

bool MessageLoop::Next(MSG &message) {
    for (;;) {
        bool got = false;
        if (WaitBeside(message, got)) {
            if (got)
                return message.message != WM_QUIT;
            continue;
        }
        const BOOL result = m_source ? m_source(message) : ::GetMessageW(&message, nullptr, 0, 0);
        if (result != -1)
            return result != 0;
        LogOnce("A message could not be received: ");
    }
}

int MessageLoop::Run(HWND dialog, HACCEL accelerators) {
    MSG message;
    while (Next(message)) {
        if (accelerators != nullptr && ::TranslateAcceleratorW(dialog, accelerators, &message))
            continue;
        if (dialog != nullptr && ::IsDialogMessageW(dialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
