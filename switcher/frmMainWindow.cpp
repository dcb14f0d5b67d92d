#include "frmMainWindow.h"

#include "AppIcon.h"

bool frmMain::Load() {
    if (!CreateBound("Varnel.frmMain", 0, "frmMain", WS_OVERLAPPED, 0, 0, 0, 0, nullptr))
        return false;
    // Shared icons belong to the system's cache; nobody destroys them.
    m_icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), "FRMMAIN", IMAGE_ICON, 32, 32, LR_SHARED));
    SetAppIcon(Hwnd(), "AAA", true);
    return true;
}

void frmMain::Unload() {
    if (Hwnd() != nullptr)
        ::DestroyWindow(Hwnd());
}
