// Watches one top-level window for changes of the display mode and tells its owner the old and the new
// resolution or colour depth; it also answers the current mode, watching or not.
#pragma once
#include "MessageHook.h"
#include "core/DisplayMode.h"

#include <windows.h>

class cDisplayChange : public ISubclass {
public:
    explicit cDisplayChange(DisplayChangeEvents &events) : m_events(events) {}
    ~cDisplayChange() { Detach(); }
    cDisplayChange(const cDisplayChange &) = delete;
    cDisplayChange &operator=(const cDisplayChange &) = delete;

    // A second Attach moves the watch to the new window.
    void Attach(HWND hWndA);
    void Detach();
    HWND AttachedWindow() const { return m_attachedWindow; }
    // While attached, the last known values; otherwise measured now (and kept).
    int32_t ColourDepth();
    int32_t DisplayWidth();
    int32_t DisplayHeight();

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    // After the window's own handling: the window still sees both messages first.
    int32_t ISubclass_MsgResponse() const override { return MsgResponseAfter; }

private:
    void MeasureSize();

    DisplayChangeEvents &m_events;
    HWND m_attachedWindow = nullptr;
    DisplayMode m_mode;
};
