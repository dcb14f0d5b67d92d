// Base of every window class: binds the object to its window on WM_NCCREATE and unbinds on WM_NCDESTROY,
// and keeps exceptions from crossing into user32.
#pragma once
#include <windows.h>

class Window {
public:
    Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;
    HWND Hwnd() const { return m_hwnd; }

protected:
    virtual ~Window();
    // Registers the class on first use and creates the window bound to this object.
    bool CreateBound(const char *className, DWORD exStyle, const char *title, DWORD style, int x, int y, int width,
                     int height, HWND parent);
    // The one place each derived window dispatches its messages; unhandled ones go to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Class details a window may change before its class is registered.
    virtual void AdjustClass(WNDCLASSEXA &) {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcA(m_hwnd, message, wParam, lParam); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};
