// The hidden form in-process (this test program is built as switcher 3): settings with their defaults and
// types, the settings refresh, the tray clicks and the screenshot reloads.
#include "HiddenForm.h"
#include "Registry.h"
#include "Screenshot.h"
#include "SwitcherTestSupport.h"
#include "TestSupport.h"
#include "ViewShots.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace {

class HiddenFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, Registry::SettingsKey);
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, Registry::SettingsKey);
        ::DeleteFileW(ScreenshotPath(2).c_str());
        ::OleUninitialize();
    }
    static void Send(HWND window, std::string_view bytes) {
        COPYDATASTRUCT data = {};
        data.cbData = static_cast<DWORD>(bytes.size());
        data.lpData = const_cast<char *>(bytes.data());
        ::SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    static bool Layered(const Window &window) {
        return (::GetWindowLongA(window.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    }
    static int Width(const Window &window) {
        RECT rect = {};
        ::GetWindowRect(window.Hwnd(), &rect);
        return rect.right - rect.left;
    }

    HubEvents m_events;
};

}  // namespace

TEST_F(HiddenFormTest, WithoutTheSettingsKeyEveryDefault) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    for (int16_t k = 1; k <= 4; ++k)
        EXPECT_EQ(form.DesktopName(k), "Desktop " + std::to_string(k));
    EXPECT_TRUE(form.GUITrans());
    EXPECT_TRUE(Layered(form.LargeView()));
    EXPECT_TRUE(Layered(form.Popup()));
    ASSERT_NE(form.SysTray(), nullptr);
    EXPECT_EQ(form.SysTray()->Tooltip(), "Desktop 3");
    EXPECT_EQ(form.SysTray()->State(), TrayIcon::StateAdded);
    EXPECT_EQ(::GetPropA(form.Hwnd(), "Tavik3_APPLICATION"), reinterpret_cast<HANDLE>(1));
    EXPECT_FALSE(::IsWindowVisible(form.Hwnd()));
}

TEST_F(HiddenFormTest, ValuesOfTheWrongTypeGiveTheirDefaults) {
    SetSetting("Desktop1Name", "Mail & Web");
    SetSetting("Desktop2Name", "");
    SetSetting("Desktop4Name", 7);     // not text
    SetSetting("GUItransparency", "0");  // not a number: on
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.DesktopName(1), "Mail & Web");
    EXPECT_EQ(form.DesktopName(2), "");
    EXPECT_EQ(form.DesktopName(3), "Desktop 3");  // missing
    EXPECT_EQ(form.DesktopName(4), "Desktop 4");
    EXPECT_TRUE(form.GUITrans());

    SetSetting("GUItransparency", 0);
    HiddenForm opaque;
    ASSERT_TRUE(opaque.Load());
    EXPECT_FALSE(opaque.GUITrans());
    EXPECT_FALSE(Layered(opaque.LargeView()));
    EXPECT_FALSE(Layered(opaque.Popup()));
}

TEST_F(HiddenFormTest, ReadRegistryChangesTheWindowsButNotTheTrayTip) {
    SetSetting("Desktop3Name", "Mail");
    SetSetting("GUItransparency", 0);
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const int narrow = Width(form.Popup());
    ASSERT_FALSE(Layered(form.Popup()));

    SetSetting("Desktop3Name", "A much longer name for the mail desktop");
    SetSetting("GUItransparency", 1);
    Send(form.Hwnd(), "ReadRegistry");
    EXPECT_EQ(form.DesktopName(3), "A much longer name for the mail desktop");
    EXPECT_TRUE(form.GUITrans());
    EXPECT_TRUE(Layered(form.LargeView()));
    EXPECT_TRUE(Layered(form.Popup()));
    EXPECT_GT(Width(form.Popup()), narrow);
    EXPECT_EQ(form.SysTray()->Tooltip(), "Mail");
    EXPECT_EQ(std::string(form.SysTray()->NotifyData().szTip), "Mail");

    // After the shell lost its icons, the icon comes back with the tip it had.
    ::SendMessageA(form.Hwnd(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(std::string(form.SysTray()->NotifyData().szTip), "Mail");
}

TEST_F(HiddenFormTest, TrayClicksOpenTheLargeViewOrThePopup) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    auto click = [&](LPARAM code) { ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, code); };
    // Presses, double clicks and the middle button open nothing.
    for (LPARAM code : {0x201, 0x203, 0x204, 0x206, 0x207, 0x208}) {
        click(code);
        EXPECT_FALSE(::IsWindowVisible(form.LargeView().Hwnd())) << code;
        EXPECT_FALSE(::IsWindowVisible(form.Popup().Hwnd())) << code;
    }
    EXPECT_EQ(form.LargeView().DesktopPicture(3), nullptr);

    click(0x202);
    EXPECT_TRUE(::IsWindowVisible(form.LargeView().Hwnd()));
    const SIZE own = PictureSize(form.LargeView().DesktopPicture(3));
    EXPECT_EQ(own.cx, form.LargeView().picWidth() - 6);
    EXPECT_EQ(own.cy, form.LargeView().picHeight() - 6);
    ::ShowWindow(form.LargeView().Hwnd(), SW_HIDE);

    click(0x205);
    EXPECT_TRUE(::IsWindowVisible(form.Popup().Hwnd()));
}

TEST_F(HiddenFormTest, UpdateScreenshotReloadsThatDesktopsFileAndKeepsThePictureOnAFailure) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    // A 2 x 1 BMP: rows padded to 8 bytes.
    const std::string small(
        "BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0"
        "\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0\0\0\xFF\0\0\0",
        70);
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(2), small));
    Send(form.Hwnd(), "UpdateScreenshot2");
    IPicture *loaded = form.LargeView().DesktopPicture(2);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(PictureSize(loaded).cx, 2);
    EXPECT_EQ(form.LargeView().DesktopPicture(1), nullptr);

    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(2), "BM damaged"));
    Send(form.Hwnd(), "UpdateScreenshot2");
    EXPECT_EQ(form.LargeView().DesktopPicture(2), loaded);
    ::DeleteFileW(ScreenshotPath(2).c_str());
    Send(form.Hwnd(), "UpdateScreenshot2");
    EXPECT_EQ(form.LargeView().DesktopPicture(2), loaded);
}
