#include "AppIcon.h"

namespace {

HWND TopLevelOwner(HWND window) {
    for (HWND owner = ::GetWindow(window, GW_OWNER); owner != nullptr; owner = ::GetWindow(owner, GW_OWNER))
        window = owner;
    return window;
}

void SendIcon(HWND window, HWND owner, const char *iconGroup, WPARAM which, int widthMetric, int heightMetric) {
    // Shared icons belong to the system's cache; nobody destroys them.
    const auto icon = reinterpret_cast<LPARAM>(::LoadImageA(::GetModuleHandleA(nullptr), iconGroup, IMAGE_ICON,
                                                            ::GetSystemMetrics(widthMetric),
                                                            ::GetSystemMetrics(heightMetric), LR_SHARED));
    if (owner != nullptr)
        ::SendMessageA(owner, WM_SETICON, which, icon);
    ::SendMessageA(window, WM_SETICON, which, icon);
}

}  // namespace

void SetAppIcon(HWND window, const char *iconGroup, bool setOwner) {
    const HWND owner = setOwner ? TopLevelOwner(window) : nullptr;
    SendIcon(window, owner, iconGroup, ICON_BIG, SM_CXICON, SM_CYICON);
    SendIcon(window, owner, iconGroup, ICON_SMALL, SM_CXSMICON, SM_CYSMICON);
}
