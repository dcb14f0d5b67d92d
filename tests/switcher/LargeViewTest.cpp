// The large view in-process (this test program is switcher 3, on a 1280 x 1024 screen).
#include "TrayIcon.h"
#include "ViewFixture.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <utility>

constexpr COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 160, 0), Blue = RGB(0, 0, 200), Magenta = RGB(255, 0, 255);

using LargeViewTest = ViewFixture;

constexpr char RestoreModeEvent[] = "Local\\VarnelTestRestoreMode";

// Run by the scenario below on a desktop of its own, a Wine virtual desktop, where a mode can be set: Wine tells
// that desktop's windows only, as Windows may tell none of a desktop that is not shown.
TEST(ModeElsewhere, DISABLED_SetsTheModeUntilToldToSetItBack) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 1024;
    mode.dmPelsHeight = 768;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(::ChangeDisplaySettingsW(&mode, 0), DISP_CHANGE_SUCCESSFUL);
    const KernelHandle restore(::OpenEventA(SYNCHRONIZE, FALSE, RestoreModeEvent));
    EXPECT_EQ(::WaitForSingleObject(restore.Get(), 60000), WAIT_OBJECT_0);
    EXPECT_EQ(::ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

TEST_F(LargeViewTest, ShowsFourFramesThePicturesAndTheOwnFrameRedAndKeysAndClicksPickADesktopOrCloseIt) {
    SetSetting("Desktop3Name", "Mail");
    SetSetting("Desktop1Name", std::string(200, 'W'));
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(1), Shot(559, 431, Green).Bmp()));
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(2), Shot(300, 200, Blue).Bmp()));
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const HWND view = form.LargeView().Hwnd();
    const RECT frames[] = {{50, 50, 615, 487}, {665, 50, 1230, 487}, {50, 537, 615, 974}, {665, 537, 1230, 974}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(ChildRect(form.LargeView().Back1(k).Hwnd()), frames[k]) << k;
        EXPECT_EQ(ChildRect(form.LargeView().Desk1(k).Hwnd()), (RECT{3, 3, 562, 434})) << k;
    }
    EXPECT_EQ(form.LargeView().DesktopPicture(1), nullptr) << "no screenshot file is read at load";
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot1"));
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot2"));
    // A damaged (headers claiming pixels that are not there) or missing file is refused; the picture stays.
    IPicture *const shown = form.LargeView().DesktopPicture(1);
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(1), Shot(100, 100, Red).Bmp().substr(0, 54)));
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot1"));
    ::DeleteFileW(ScreenshotPath(2).c_str());
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot2"));
    EXPECT_TRUE(shown != nullptr && form.LargeView().DesktopPicture(1) == shown);
    {
        // Something to recognise in the capture of this desktop: a magenta window over its top-left quarter.
        const ColourWindow marker(Magenta, {0, 0, 640, 512});
        TrayRelease(form, 0x202);
    }
    Shot shot(0, 0);
    ASSERT_TRUE(WaitFor([&] { return (shot = Shot::OfScreen()).At(332, 538) == Red && shot.At(320, 20) != Magenta; }));
    shot.Keep("largeview-opened");
    EXPECT_EQ(shot.At(51, 755), Red);
    EXPECT_EQ(shot.At(332, 51), ::GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(shot.At(947, 538), ::GetSysColor(COLOR_BACKGROUND));
    // A smaller picture sits at its box's top-left corner; the rounded corners cut a few pixels.
    EXPECT_GT(shot.Count({53, 53, 612, 484}, Green), 558 * 430 - 20);
    EXPECT_GT(shot.Count({668, 53, 968, 253}, Blue), 300 * 200 - 20);
    EXPECT_EQ(shot.Count({668, 253, 1227, 484}, Blue), 0);
    const int unwritten = shot.Count({700, 600, 1200, 950}, ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_TRUE(unwritten < 500 * 350 && unwritten > 500 * 350 * 9 / 10) << unwritten;
    // Desktop 3's picture is the capture made at the opening, scaled to the box: the marker is its top-left quarter.
    EXPECT_GT(shot.Count({53, 540, 333, 755}, Magenta), 270 * 205);
    EXPECT_EQ(shot.Count({340, 765, 612, 971}, Magenta), 0);
    EXPECT_LT(shot.Count({0, 0, 300, 50}, ::GetSysColor(COLOR_CAPTIONTEXT)), 300 * 50 - 100);

    // After a display change the view is laid out for the screen again.
    ::SetWindowPos(view, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(view, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    EXPECT_EQ(ChildRect(view), (RECT{0, 0, 1280, 1024}));
    // A change of mode made on another desktop comes with no message here: the view and the popup are laid out
    // for the new screen when they are shown, and for the old one when it is back. (Desktop 1's name is longer
    // than any screen, so the popup is as wide as the screen.)
    const wchar_t *const desktops = L"Software\\Wine\\Explorer\\Desktops", *const modeDesk = L"varnel-mode";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, desktops, modeDesk, REG_SZ, L"1280x1024", sizeof L"1280x1024");
    const KernelHandle restoreMode(::CreateEventA(nullptr, TRUE, FALSE, RestoreModeEvent));
    const KernelHandle changer =
        StartProcess(TestBinDir() + L"\\switcher_tests.exe",
                     L"switcher_tests.exe --gtest_also_run_disabled_tests --gtest_filter=ModeElsewhere.*", modeDesk);
    EXPECT_TRUE(WaitFor([] { return ::GetSystemMetrics(SM_CXSCREEN) == 1024; }));
    TrayRelease(form, 0x202);
    EXPECT_EQ(ChildRect(view), (RECT{0, 0, 1024, 768}));
    EXPECT_EQ(ChildRect(form.LargeView().Back1(3).Hwnd()), (RECT{537, 409, 974, 718}));
    TrayRelease(form, 0x205);
    EXPECT_EQ(ChildRect(form.Popup().Hwnd()).right - ChildRect(form.Popup().Hwnd()).left, 1024);
    ::SetEvent(restoreMode.Get());
    EXPECT_EQ(::WaitForSingleObject(changer.Get(), 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(WaitFor([] { return ::GetSystemMetrics(SM_CXSCREEN) == 1280; }));
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, desktops, modeDesk);

    // Keys and clicks pick a desktop or close the view, with the own one selected again.
    TrayRelease(form, 0x202);
    EXPECT_EQ(ChildRect(view), (RECT{0, 0, 1280, 1024}));
    EXPECT_EQ(ChildRect(form.LargeView().Back1(3).Hwnd()), frames[3]);
    const std::pair<WPARAM, int16_t> steps[] = {{VK_LEFT, 3},   {VK_RIGHT, 4},  {VK_RIGHT, 4}, {VK_UP, 2},
                                                {VK_LEFT, 1},   {VK_ESCAPE, 1}, {VK_RIGHT, 2}};
    for (const auto &[key, selected] : steps) {
        Key(view, key);
        EXPECT_EQ(form.LargeView().Selection(), selected) << key;
        EXPECT_EQ(form.LargeView().Back1(static_cast<size_t>(selected - 1)).BackColor(), Red) << key;
    }
    // Enter picks desktop 2 and saves the picture shown, not a new capture of the view over the screen.
    const TempFolder folder;
    ASSERT_TRUE(SavePictureFile(form.LargeView().DesktopPicture(3), folder.File(L"shown.bmp")));
    Key(view, VK_RETURN);
    EXPECT_FALSE(Shown(view));
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(2));
    EXPECT_EQ(FileBmp(ScreenshotPath(3)), Thumbnail);
    EXPECT_TRUE(ReadFileBytes(ScreenshotPath(3)) == ReadFileBytes(folder.File(L"shown.bmp")));
    EXPECT_EQ(form.LargeView().Selection(), 3);

    // A click on a frame's border does nothing, on the background it closes the view, on a picture it picks.
    TrayRelease(form, 0x202);
    Click(form.LargeView().Back1(0).Hwnd(), 1, 200);
    EXPECT_TRUE(Shown(view));
    Key(view, VK_RIGHT);
    Click(view, 640, 20);
    EXPECT_FALSE(Shown(view));
    EXPECT_EQ(form.LargeView().Selection(), 3);
    TrayRelease(form, 0x202);
    Click(form.LargeView().Desk1(0).Hwnd(), 100, 100);
    EXPECT_FALSE(Shown(view));
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(1));

    // Losing the activation closes it too.
    TrayRelease(form, 0x202);
    Key(view, VK_UP);
    const ColourWindow other(RGB(0, 0, 255), {0, 0, 50, 50});
    other.Activate();
    EXPECT_TRUE(WaitFor([&] { return !Shown(view); }));
    EXPECT_EQ(form.LargeView().Selection(), 3);
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
}

// The tray click that opens the view: a callback arriving while one is handled is dropped, and a handler that ends
// the program (EndApp, WM_CLOSE) releases the icon before its callback returns, which must touch nothing of it.
TEST(TrayIconGuard, ACallbackWhileOneIsHandledIsDroppedAndAReleasedIconIsNotTouched) {
    struct Listener : TrayIconEvents {
        std::string heard;
        std::function<void()> whileHandling;
        void SysTray_MouseDown(int16_t) override {}
        void SysTray_MouseDblClick(int16_t) override {}
        void SysTray_MouseUp(int16_t button) override {
            heard += std::to_string(button) + " ";
            if (whileHandling)
                std::exchange(whileHandling, nullptr)();
        }
    } listener;
    TrayIcon tray(listener);
    listener.whileHandling = [&] { tray.OnCallback(0x205); };
    tray.OnCallback(0x202);
    tray.OnCallback(0x205);
    EXPECT_EQ(listener.heard, "1 2 ");
    alignas(TrayIcon) unsigned char room[sizeof(TrayIcon)];
    auto *released = new (room) TrayIcon(listener);
    listener.whileHandling = [&] {
        released->~TrayIcon();
        std::memset(room, 0xAB, sizeof room);
    };
    released->OnCallback(0x202);
    EXPECT_EQ(listener.heard, "1 2 1 ");
    EXPECT_EQ(std::count(room, room + sizeof room, 0xAB), static_cast<std::ptrdiff_t>(sizeof room));
}
