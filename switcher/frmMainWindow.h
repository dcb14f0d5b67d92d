// The window of frmMain: never shown; it carries the program's window icons and the build's tray icon.
// (The program's identity, DeskNum and the window tag, is the shared frmMain module.)
#pragma once
#include "Window.h"

class frmMain : public Window {
public:
    frmMain() = default;
    ~frmMain() override = default;
    bool Load();
    void Unload();
    // The build's 32 x 32 16-colour icon, shown in the notification area.
    HICON Icon() const { return m_icon; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Default(message, wParam, lParam);
    }
    HICON m_icon = nullptr;
};
