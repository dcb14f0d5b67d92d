#include "Panel.h"

bool Panel::Create(HWND parent, int id, int x, int y, int width, int height, bool visible) {
    // WS_EX_CONTROLPARENT lets the Tab key reach the controls inside.
    if (!CreateBound("ControlPanel.Panel", WS_EX_CONTROLPARENT, "",
                     WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), x, y, width, height, parent))
        return false;
    ::SetWindowLongPtrA(Hwnd(), GWLP_ID, id);
    return true;
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return ::SendMessageA(::GetParent(Hwnd()), message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}
