// The window of frmMain: never shown; it carries the program's window icons and the build's tray icon.
// (The program's identity, DeskNum and the window tag, is the shared frmMain module.)
#pragma once
#include "Handles.h"
#include "Window.h"

#include <cstdint>

class frmMain : public Window {
public:
    frmMain() = default;
    ~frmMain() override = default;
    // Also loads the tray icon for the window's DPI.
    bool Load();
    void Unload();
    // The build's tray icon at the small-icon size of `dpi`, from the image drawn for that size where there is
    // one. The icon loaded before lives until the next load: the shell shows it until its record is modified.
    void LoadTrayIcon(int32_t dpi);
    // The tray icon as last loaded.
    HICON Icon() const { return m_icon.Get(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Default(message, wParam, lParam);
    }
    OwnedIcon m_icon;
    OwnedIcon m_previousIcon;
};
