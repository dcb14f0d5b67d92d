#include "AppBar.h"

#include <windows.h>

#include <shellapi.h>

int16_t GetTaskbarEdge() {
    APPBARDATA data = {};
    data.cbSize = sizeof data;
    data.hWnd = ::FindWindowA("Shell_TrayWnd", "");
    ::SHAppBarMessage(ABM_GETTASKBARPOS, &data);
    return static_cast<int16_t>(data.uEdge);
}
