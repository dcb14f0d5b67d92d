// Window dressing for the popup and the large view: constant alpha, rounded corners, the desktop's size.
#pragma once
#include <windows.h>

#include <cstdint>

struct ScreenSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// Makes the window layered (for good) with the given alpha; 255 is opaque.
void SetWindowAlpha(HWND window, uint8_t alpha);
// Cuts a control to a rounded rectangle (6 x 6 corner ellipse) over its outer size.
void RoundControlCorners(HWND control);
// The same over a form's client size.
void RoundFormCorners(HWND form);
// 0 x 0 when the desktop window's rectangle cannot be read.
ScreenSize DesktopWindowSize();
