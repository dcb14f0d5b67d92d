// A switcher in-process (this test program is switcher 3) with the hub's events, clean settings and files.
#pragma once
#include "HiddenForm.h"
#include "Screenshot.h"
#include "SwitcherTestSupport.h"
#include "ViewShots.h"

#include <gtest/gtest.h>

#include <ole2.h>

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        Clean();
    }
    void TearDown() override {
        Clean();
        ::OleUninitialize();
    }
    static void Clean() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, Registry::SettingsKey);
        for (int16_t desk = 1; desk <= 4; ++desk)
            ::DeleteFileW(ScreenshotPath(desk).c_str());
    }
    // The events a switch from desktop 3 to `target` sets: SwitchToDesktopN, SwitcherKUpdate3 for K = 1, 2, 4.
    static std::set<int16_t> SwitchEvents(int16_t target) { return {static_cast<int16_t>(40 + target), 2, 12, 33}; }
    static void Click(HWND window, int x, int y) {
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static void Key(HWND window, WPARAM key) { ::SendMessageA(window, WM_KEYDOWN, key, 1); }
    // The shell's callback of a left (0x202) or right (0x205) button release on the tray icon.
    static void TrayRelease(const HiddenForm &form, LPARAM button) { ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, button); }
    static bool Shown(HWND window) { return ::IsWindowVisible(window) != FALSE; }
    static BYTE Alpha(HWND window) {  // 0 when it is not layered
        BYTE alpha = 0;
        ::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
        return alpha;
    }

    HubEvents m_events;
    KeeperIcon m_keeper;
};

// The tray icon handed to the shell: its width and its white pixels, the digit's strokes drawn for each size (an
// image scaled from another size has other counts).
inline std::pair<int, int> TrayArt(const HiddenForm &form) {
    ICONINFO parts = {};
    ::GetIconInfo(form.SysTray()->NotifyData().hIcon, &parts);
    const GdiObject<HBITMAP> colour(parts.hbmColor), mask(parts.hbmMask);
    const Shot art = Shot::OfBitmap(colour.Get());
    return {art.Width(), art.Count({0, 0, art.Width(), art.Width()}, RGB(255, 255, 255))};
}

// A window of one colour on the screen when it is handed out; it can take the activation away.
class ColourWindow {
public:
    ColourWindow(COLORREF colour, const RECT &place) : m_brush(::CreateSolidBrush(colour)) {
        const WNDCLASSA windowClass = {0, ::DefWindowProcA, 0, 0, ::GetModuleHandleA(nullptr), nullptr, nullptr,
                                       m_brush.Get(), nullptr, m_name.c_str()};
        ::RegisterClassA(&windowClass);
        m_window.Reset(::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, m_name.c_str(), "", WS_POPUP, place.left,
                                         place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                         nullptr, windowClass.hInstance, nullptr));
        ::ShowWindow(m_window.Get(), SW_SHOWNOACTIVATE);
        const POINT middle = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        WaitFor([&] { return Shot::OfScreen().At(middle.x, middle.y) == colour; }, 5000);
    }
    void Activate() const {
        ::SetForegroundWindow(m_window.Get());
        ::SetActiveWindow(m_window.Get());
    }

private:
    static inline int s_made = 0;
    std::string m_name = "VarnelTestColour" + std::to_string(++s_made);
    GdiObject<HBRUSH> m_brush;
    OwnedWindow m_window;
};
