#include "MessageLoop.h"

#include "Log.h"
#include "WinAPIError.h"

bool MessageLoop::Next(MSG &message) {
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got != -1)
            return got != 0;
        if (!m_failureLogged) {
            m_failureLogged = true;
            LogError(m_logPrefix + "A message could not be received: " + WinAPIErrorText(::GetLastError()));
        }
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
