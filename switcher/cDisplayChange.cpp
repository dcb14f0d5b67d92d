#include "cDisplayChange.h"

#include "Handles.h"

void cDisplayChange::Attach(HWND hWndA) {
    Detach();
    m_attachedWindow = hWndA;
    HookMessage(this, hWndA, WM_DISPLAYCHANGE);
    HookMessage(this, hWndA, WM_DESTROY);
    const WindowDC dc(hWndA);
    m_mode.BitsPerPixel = ::GetDeviceCaps(dc.Get(), BITSPIXEL);
    MeasureSize();
}

void cDisplayChange::Detach() {
    if (m_attachedWindow == nullptr)
        return;
    UnhookMessage(this, m_attachedWindow, WM_DISPLAYCHANGE);
    UnhookMessage(this, m_attachedWindow, WM_DESTROY);
    m_attachedWindow = nullptr;
}

void cDisplayChange::MeasureSize() {
    m_mode.WidthPixels = ::GetSystemMetrics(SM_CXSCREEN);
    m_mode.HeightPixels = ::GetSystemMetrics(SM_CYSCREEN);
}

int32_t cDisplayChange::ColourDepth() {
    if (m_attachedWindow == nullptr) {
        const MemoryDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        m_mode.BitsPerPixel = ::GetDeviceCaps(display.Get(), BITSPIXEL);
    }
    return m_mode.BitsPerPixel;
}

int32_t cDisplayChange::DisplayWidth() {
    if (m_attachedWindow == nullptr)
        MeasureSize();
    return m_mode.WidthPixels;
}

int32_t cDisplayChange::DisplayHeight() {
    if (m_attachedWindow == nullptr)
        MeasureSize();
    return m_mode.HeightPixels;
}

LRESULT cDisplayChange::ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != m_attachedWindow)
        return 0;
    if (iMsg == WM_DESTROY)
        Detach();
    else if (iMsg == WM_DISPLAYCHANGE)
        m_mode.Change(DisplayMode::Reported(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)), m_events);
    return 0;
}
