// What the tests of the large view and the popup share: a switcher (this test program is switcher 3) with the
// hub's events, clean settings and screenshot files, and the clicks and keys a user gives.
#pragma once
#include "HiddenForm.h"
#include "Screenshot.h"
#include "SwitcherTestSupport.h"
#include "TestSupport.h"
#include "ViewShots.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <set>

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
    // The events a pick or a row click for `target` sets, as switcher 3.
    static std::set<int16_t> SwitchEvents(int16_t target) {
        return {static_cast<int16_t>(40 + target), PairEventIndex(PairKindUpdate, 1, 3),
                PairEventIndex(PairKindUpdate, 2, 3), PairEventIndex(PairKindUpdate, 4, 3)};
    }
    // A press and a release of the left button at (x, y) of the window's client area.
    static void Click(HWND window, int x, int y) {
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static void Key(HWND window, WPARAM key) {
        ::SendMessageA(window, WM_KEYDOWN, key, 1);
        ::SendMessageA(window, WM_KEYUP, key, 0xC0000001);
    }
    // The shell's callback of a left (0x202) or right (0x205) button release on the tray icon.
    static void TrayRelease(const HiddenForm &form, LPARAM button) { ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, button); }
    static BmpInfo OwnFile() { return ReadBmpInfo(ReadFileBytes(ScreenshotPath(3))); }
    static BYTE Alpha(HWND window) {
        BYTE alpha = 0;
        DWORD flags = 0;
        ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
        return alpha;
    }

    HubEvents m_events;
    KeeperIcon m_keeper;
};

// A window of the test's own, to take the activation away from the switcher's windows.
class OtherWindow {
public:
    OtherWindow()
        : m_window(::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr)) {}
    void Activate() const {
        ::SetForegroundWindow(m_window.Get());
        ::SetActiveWindow(m_window.Get());
    }

private:
    OwnedWindow m_window;
};

// A plain window of one colour at a place of the screen, painted before it is handed out.
class ColourWindow {
public:
    ColourWindow(COLORREF colour, const RECT &place) : m_colour(colour), m_brush(::CreateSolidBrush(colour)) {
        const std::string name = "VarnelTestColour" + std::to_string(colour);
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hbrBackground = m_brush.Get();
        windowClass.lpszClassName = name.c_str();
        ::RegisterClassExA(&windowClass);
        m_window.Reset(::CreateWindowExA(WS_EX_TOOLWINDOW, name.c_str(), "", WS_POPUP, place.left, place.top,
                                         place.right - place.left, place.bottom - place.top, nullptr, nullptr, nullptr,
                                         nullptr));
        ::ShowWindow(m_window.Get(), SW_SHOWNOACTIVATE);
        const POINT middle = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        WaitFor([&] { return ScreenPixel(middle.x, middle.y) == colour; }, 5000);
    }
    ~ColourWindow() {
        m_window.Reset();
        ::UnregisterClassA(("VarnelTestColour" + std::to_string(m_colour)).c_str(), ::GetModuleHandleA(nullptr));
    }
    HWND Hwnd() const { return m_window.Get(); }

private:
    COLORREF m_colour = 0;
    GdiObject<HBRUSH> m_brush;
    OwnedWindow m_window;
};
