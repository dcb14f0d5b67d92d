// Gives a window, and on request its top-level owner, the program's icon group.
#pragma once
#include <windows.h>

void SetAppIcon(HWND window, const char *iconGroup, bool setOwner);
