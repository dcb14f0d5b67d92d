// The dots per inch a window is shown at, and what follows from it. The newer user32 calls are looked up at run
// time, so the same program still runs where they are missing (Windows 7 and 8 take the system's DPI).
#pragma once
#include "core/Dpi.h"

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of `window` (its monitor's, for a per-monitor aware program); the system's for nullptr or where the
// window's own cannot be asked.
int32_t WindowDpi(HWND window);
// The window rectangle around `client` for a window of that style at `dpi`.
RECT WindowRectForClient(RECT client, DWORD style, bool menu, DWORD exStyle, int32_t dpi);
int32_t SystemMetricForDpi(int index, int32_t dpi);
// The system's message font at `dpi`.
LOGFONTW MessageFontForDpi(int32_t dpi);
// Moves a window to the rectangle WM_DPICHANGED suggests (`lParam`).
void MoveToSuggested(HWND window, LPARAM lParam);
