#include "frmMainWindow.h"

#include "AppIcon.h"
#include "Dpi.h"

#include <utility>

bool frmMain::Load() {
    if (!CreateBound("Varnel.frmMain", 0, "frmMain", WS_OVERLAPPED, 0, 0, 0, 0, nullptr))
        return false;
    LoadTrayIcon(WindowDpi(Hwnd()));
    SetAppIcon(Hwnd(), "AAA", true);
    return true;
}

void frmMain::Unload() {
    if (Hwnd() != nullptr)
        ::DestroyWindow(Hwnd());
}

void frmMain::LoadTrayIcon(int32_t dpi) {
    // What LoadIconMetric(LIM_SMALL) does, at the DPI given: LoadIconMetric takes the small-icon size of the
    // system DPI, which does not follow a change of scaling while the program runs. LoadIconWithScaleDown
    // (common controls 6) is missing from mingw's import libraries.
    using LoadIconWithScaleDownFn = HRESULT(WINAPI *)(HINSTANCE, PCWSTR, int, int, HICON *);
    const auto load = reinterpret_cast<LoadIconWithScaleDownFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("comctl32.dll"), "LoadIconWithScaleDown")));
    const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    HICON icon = nullptr;
    if (load != nullptr && SUCCEEDED(load(::GetModuleHandleA(nullptr), L"FRMMAIN", size, size, &icon))) {
        m_previousIcon = std::move(m_icon);
        m_icon.Reset(icon);
    }
}
