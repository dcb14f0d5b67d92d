// Routes chosen messages of a window to program objects, beside the window's own handling (which always runs).
#pragma once
#include <windows.h>

#include <cstdint>

class ISubclass {
public:
    // Called for each hooked message; the result is not used, the window's own handling answers.
    virtual LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) = 0;
    // 1: called before the window's own handling of the message; 2: after it.
    virtual int32_t ISubclass_MsgResponse() const = 0;

protected:
    ~ISubclass() = default;
};

inline constexpr int32_t MsgResponseBefore = 1;
inline constexpr int32_t MsgResponseAfter = 2;

// Both answer false when the window is not a window of this thread, or the pair is not (un)hooked.
bool HookMessage(ISubclass *client, HWND window, UINT message);
bool UnhookMessage(ISubclass *client, HWND window, UINT message);
