// The window helpers: taskbar edge, constant alpha, rounded corners and the desktop's size.
#include "AppBar.h"
#include "Lib.h"
#include "Window.h"

#include <gtest/gtest.h>

namespace {

class Plain : public Window {
public:
    Plain(HWND parent = nullptr) {
        CreateBound("VarnelTestLibWindow", 0, "", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, 10, 10, 200, 100,
                    parent);
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Default(message, wParam, lParam);
    }
};

RECT RegionBox(HWND window) {
    RECT box = {};
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(window, region) != ERROR)
        ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    return box;
}

}  // namespace

TEST(AppBar, TheTaskbarIsAtTheBottom) {
    // Wine's shell reports the bottom edge; so does a default Windows desktop.
    EXPECT_EQ(GetTaskbarEdge(), 3);
}

TEST(Lib, AlphaBackTo255StaysLayeredButOpaque) {
    Plain window;
    EXPECT_FALSE(::GetWindowLongA(window.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    SetWindowAlpha(window.Hwnd(), 200);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window.Hwnd(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    SetWindowAlpha(window.Hwnd(), 255);
    ASSERT_TRUE(::GetLayeredWindowAttributes(window.Hwnd(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_TRUE(::GetWindowLongA(window.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(Lib, RoundingTwiceReplacesTheRegion) {
    Plain form;
    Plain control(form.Hwnd());
    // A round rectangle region leaves out the last column and row of its box.
    RoundControlCorners(control.Hwnd());
    EXPECT_EQ(RegionBox(control.Hwnd()).right, 199);
    ::MoveWindow(control.Hwnd(), 0, 0, 120, 50, FALSE);
    RoundControlCorners(control.Hwnd());
    const RECT box = RegionBox(control.Hwnd());
    EXPECT_EQ(box.right, 119);
    EXPECT_EQ(box.bottom, 49);
    // The corner pixel is cut away, the middle stays.
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(control.Hwnd(), region);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, 60, 25));
    ::DeleteObject(region);

    RoundFormCorners(form.Hwnd());
    RECT client = {};
    ::GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(RegionBox(form.Hwnd()).right, client.right - 1);
}

TEST(Lib, DesktopWindowSizeIsTheScreen) {
    const ScreenSize size = DesktopWindowSize();
    EXPECT_EQ(size.Width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.Height, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(size.Width, 0);
}
