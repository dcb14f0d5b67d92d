// The program identity (this test program is built as desktop 3), window tags and the application icon.
#include "AppIcon.h"
#include "Window.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class IconWindow : public Window {
public:
    explicit IconWindow(HWND owner = nullptr) {
        CreateBound("VarnelTestIconWindow", 0, "icons", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, owner);
    }
    std::vector<WPARAM> iconSends;  // ICON_BIG / ICON_SMALL in the order they came

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETICON)
            iconSends.push_back(wParam);
        return Default(message, wParam, lParam);
    }
};

BOOL CALLBACK CountTag(HWND, LPSTR name, HANDLE, ULONG_PTR count) {
    if (!IS_INTRESOURCE(name) && std::string(name) == "Tavik3_APPLICATION")
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

}  // namespace

TEST(Identity, DeskNumAndTagName) {
    EXPECT_EQ(DeskNum(), 3);
    EXPECT_EQ(GetWindowTag(), "Tavik3_APPLICATION");
}

TEST(TagWindow, TaggingTwiceLeavesOnePropertyOfValueOne) {
    IconWindow window;
    ASSERT_NE(window.Hwnd(), nullptr);
    TagWindow(window.Hwnd());
    TagWindow(window.Hwnd());
    EXPECT_EQ(::GetPropA(window.Hwnd(), "Tavik3_APPLICATION"), reinterpret_cast<HANDLE>(1));
    int count = 0;
    ::EnumPropsExA(window.Hwnd(), CountTag, reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(count, 1);
}

TEST(SetAppIcon, WindowWithoutOwnerGetsEachIconTwice) {
    IconWindow window;
    SetAppIcon(window.Hwnd(), "AAA", true);
    EXPECT_EQ(window.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_BIG, ICON_SMALL, ICON_SMALL}));
    const auto big = reinterpret_cast<HICON>(::SendMessageA(window.Hwnd(), WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(::SendMessageA(window.Hwnd(), WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(big, nullptr);
    ASSERT_NE(small, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(small, &info));
    BITMAP bitmap = {};
    ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

TEST(SetAppIcon, TheTopLevelOwnerGetsItFirst) {
    IconWindow top;
    IconWindow middle(top.Hwnd());
    IconWindow window(middle.Hwnd());
    SetAppIcon(window.Hwnd(), "AAA", true);
    EXPECT_EQ(top.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_SMALL}));
    EXPECT_TRUE(middle.iconSends.empty());
    EXPECT_EQ(window.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_SMALL}));

    IconWindow alone(middle.Hwnd());
    SetAppIcon(alone.Hwnd(), "AAA", false);
    EXPECT_EQ(top.iconSends.size(), 2u);
}

TEST(SetAppIcon, AMissingGroupClearsTheIcons) {
    IconWindow window;
    SetAppIcon(window.Hwnd(), "AAA", false);
    ASSERT_NE(::SendMessageA(window.Hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    SetAppIcon(window.Hwnd(), "NOSUCHGROUP", false);
    EXPECT_EQ(::SendMessageA(window.Hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(::SendMessageA(window.Hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
}
