#include "Lib.h"

namespace {

void RoundCorners(HWND window, int width, int height) {
    const HRGN region = ::CreateRoundRectRgn(0, 0, width, height, 6, 6);
    // On success the region belongs to the window.
    if (region != nullptr && !::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
}

}  // namespace

void SetWindowAlpha(HWND window, uint8_t alpha) {
    ::SetWindowLongA(window, GWL_EXSTYLE, ::GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

void RoundControlCorners(HWND control) {
    RECT outer = {};
    if (::GetWindowRect(control, &outer))
        RoundCorners(control, outer.right - outer.left, outer.bottom - outer.top);
}

void RoundFormCorners(HWND form) {
    RECT client = {};
    if (::GetClientRect(form, &client))
        RoundCorners(form, client.right, client.bottom);
}

ScreenSize DesktopWindowSize() {
    RECT desktop = {};
    if (!::GetWindowRect(::GetDesktopWindow(), &desktop))
        return {};
    return {desktop.right - desktop.left, desktop.bottom - desktop.top};
}
