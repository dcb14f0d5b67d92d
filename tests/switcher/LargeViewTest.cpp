// The large view in-process (this test program is switcher 3, on a 1280 x 1024 screen): its frames, what it
// draws (and the damaged picture files it refuses), its keys and clicks, what a pick switches and saves, and how
// it closes.
#include "ViewFixture.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 160, 0);
constexpr COLORREF Blue = RGB(0, 0, 200);
constexpr COLORREF Magenta = RGB(255, 0, 255);

class LargeViewTest : public ViewFixture {
protected:
    static HWND View(const HiddenForm &form) { return form.LargeView().Hwnd(); }
    static bool Shown(const HiddenForm &form) { return ::IsWindowVisible(View(form)) != FALSE; }
    // The desktops whose frame is red.
    static std::set<int16_t> RedFrames(const HiddenForm &form) {
        std::set<int16_t> red;
        for (int16_t desk = 1; desk <= 4; ++desk) {
            if (form.LargeView().Back1(static_cast<size_t>(desk - 1)).BackColor() == Red)
                red.insert(desk);
        }
        return red;
    }
    // The 24-bit rows of a picture's bitmap.
    static std::string PictureRows(IPicture *picture) {
        OLE_HANDLE handle = 0;
        BITMAP bitmap = {};
        if (picture == nullptr || FAILED(picture->get_Handle(&handle)))
            return {};
        const auto hbitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        ::GetObjectW(hbitmap, sizeof bitmap, &bitmap);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = bitmap.bmWidth;
        info.bmiHeader.biHeight = bitmap.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        std::string rows(static_cast<size_t>((bitmap.bmWidth * 3 + 3) / 4 * 4 * bitmap.bmHeight), '\0');
        const WindowDC screen(nullptr);
        ::GetDIBits(screen.Get(), hbitmap, 0, static_cast<UINT>(bitmap.bmHeight), rows.data(), &info, DIB_RGB_COLORS);
        return rows;
    }
};

}  // namespace

TEST_F(LargeViewTest, FourFramesWithPicturesInsideOnA1280By1024Screen) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    RECT view = {};
    ::GetWindowRect(View(form), &view);
    EXPECT_EQ(view.right - view.left, 1280);
    EXPECT_EQ(view.bottom - view.top, 1024);
    const RECT frames[] = {{50, 50, 615, 487}, {665, 50, 1230, 487}, {50, 537, 615, 974}, {665, 537, 1230, 974}};
    const RECT picture = {3, 3, 562, 434};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(ChildRect(form.LargeView().Back1(k).Hwnd()), frames[k]) << k;
        EXPECT_EQ(ChildRect(form.LargeView().Desk1(k).Hwnd()), picture) << k;
        const GdiObject<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::GetWindowRgn(form.LargeView().Desk1(k).Hwnd(), region.Get()), COMPLEXREGION) << k;
    }
    EXPECT_EQ(form.LargeView().Selection(), 3);
    EXPECT_EQ(RedFrames(form), (std::set<int16_t>{3}));
    // No screenshot file is read at load.
    EXPECT_EQ(form.LargeView().DesktopPicture(1), nullptr);
}

TEST_F(LargeViewTest, OpenedFromTheTrayItShowsTheNameThePicturesAndTheOwnFrameRed) {
    SetSetting("Desktop3Name", "Mail");
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(1), SolidBmp(559, 431, Green)));
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(2), SolidBmp(300, 200, Blue)));
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot1"));
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot2"));
    // Damaged files are refused before they are decoded and the picture shown stays: a 54-byte file whose header
    // claims 100 x 100 pixels, a whole file cut short, a well-formed one wider than the screen.
    IPicture *const shown = form.LargeView().DesktopPicture(1);
    ASSERT_NE(shown, nullptr);
    const std::string whole = SolidBmp(559, 431, Red);
    for (const std::string &damaged :
         {SolidBmp(100, 100, Red).substr(0, 54), whole.substr(0, whole.size() - 1), SolidBmp(1300, 20, Red)}) {
        ASSERT_TRUE(WriteFileBytes(ScreenshotPath(1), damaged));
        ASSERT_TRUE(SendCopyData(form.Hwnd(), "UpdateScreenshot1"));
        EXPECT_EQ(form.LargeView().DesktopPicture(1), shown) << damaged.size();
    }
    {
        // Something to recognise in the capture of this desktop: a magenta window over its top-left quarter.
        const ColourWindow marker(Magenta, {0, 0, 640, 512});
        TrayRelease(form, 0x202);
    }
    ASSERT_TRUE(Shown(form));
    const Shot shot = RenderWindow(View(form));
    shot.Keep("largeview-opened");

    // The frame of desktop 3 (bottom left) is red, the others the desktop colour.
    const COLORREF desktop = ::GetSysColor(COLOR_BACKGROUND);
    EXPECT_EQ(shot.At(332, 538), Red);
    EXPECT_EQ(shot.At(51, 755), Red);
    EXPECT_EQ(shot.At(332, 51), desktop);
    EXPECT_EQ(shot.At(947, 51), desktop);
    EXPECT_EQ(shot.At(947, 538), desktop);
    // Desktop 1's picture fills its box but for the rounded corners; desktop 2's smaller one sits at the box's
    // top-left corner with the empty colour beside and below it.
    const COLORREF empty = ::GetSysColor(COLOR_BTNTEXT);
    // (A rounded region leaves out the right column and the bottom row.)
    const int green = shot.Count({53, 53, 612, 484}, Green);
    EXPECT_TRUE(green > 558 * 430 - 20 && green <= 558 * 430) << green;
    const int blue = shot.Count({668, 53, 968, 253}, Blue);
    EXPECT_TRUE(blue > 300 * 200 - 20 && blue < 300 * 200) << blue;  // the box's rounded corner cuts a few
    EXPECT_EQ(shot.At(968, 153), empty);
    EXPECT_EQ(shot.At(768, 253), empty);
    // Desktop 4's box, without a picture, holds only the words that its picture comes after a visit.
    const int unwritten = shot.Count({700, 600, 1200, 950}, empty);
    EXPECT_LT(unwritten, 500 * 350) << "no words in the frame of a desktop never visited";
    EXPECT_GT(unwritten, 500 * 350 * 9 / 10);
    // Desktop 3's picture is the capture made at the opening, scaled to the box: the marker is its top-left quarter.
    const int magenta = shot.Count({53, 540, 333, 755}, Magenta);
    EXPECT_GT(magenta, 270 * 205) << magenta;
    EXPECT_EQ(shot.Count({340, 765, 612, 971}, Magenta), 0);
    // The name in the top margin, readable on the caption-text colour (Wine's scheme makes both black).
    const COLORREF background = ::GetSysColor(COLOR_CAPTIONTEXT);
    EXPECT_GT(300 * 50 - shot.Count({0, 0, 300, 50}, background), 100);
    EXPECT_EQ(shot.Count({400, 0, 1280, 50}, background), 880 * 50);

    // On the screen as X shows it.
    ASSERT_TRUE(WaitFor([] { return ScreenPixel(332, 538) == Red; })) << "the view never reached the screen";
    const Shot screen = ScreenShot();
    screen.Keep("largeview-screen");
    EXPECT_EQ(screen.At(947, 51), desktop);
    EXPECT_EQ(screen.At(332, 253), Green);
    EXPECT_EQ(screen.At(718, 103), Blue);
}

TEST_F(LargeViewTest, ArrowsMoveTheRedFrameWithoutWrappingAndEscapeDoesNothing) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    TrayRelease(form, 0x202);
    const struct {
        WPARAM key;
        int16_t selected;
    } steps[] = {{VK_LEFT, 3},  {VK_DOWN, 3}, {VK_RIGHT, 4}, {VK_RIGHT, 4}, {VK_DOWN, 4}, {VK_UP, 2},
                 {VK_UP, 2},    {VK_RIGHT, 2}, {VK_LEFT, 1}, {VK_ESCAPE, 1}, {VK_TAB, 1}, {VK_DOWN, 3}};
    for (const auto &step : steps) {
        Key(View(form), step.key);
        EXPECT_EQ(form.LargeView().Selection(), step.selected) << step.key;
        EXPECT_EQ(RedFrames(form), (std::set<int16_t>{step.selected})) << step.key;
        EXPECT_TRUE(Shown(form)) << step.key;
    }
    Key(View(form), VK_UP);
    Key(View(form), VK_RIGHT);
    const Shot shot = RenderWindow(View(form));
    shot.Keep("largeview-selected-2");
    EXPECT_EQ(shot.At(947, 51), Red);
    EXPECT_EQ(shot.At(332, 538), ::GetSysColor(COLOR_BACKGROUND));

    // Enter on the own desktop only closes the view.
    Key(View(form), VK_DOWN);
    Key(View(form), VK_LEFT);
    Key(View(form), VK_RETURN);
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(ScreenshotPath(3)));
}

TEST_F(LargeViewTest, PickingAnotherDesktopSwitchesAndSavesThePictureShownNotANewCapture) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    TrayRelease(form, 0x202);
    const std::string shown = PictureRows(form.LargeView().DesktopPicture(3));
    ASSERT_FALSE(shown.empty());
    // The view itself now covers the screen: a new capture would show its red frame.
    Key(View(form), VK_UP);
    Key(View(form), VK_RIGHT);
    Key(View(form), VK_RETURN);
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(form.LargeView().Selection(), 3);
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(2));
    EXPECT_EQ(OwnFile(), (BmpInfo{559, 431, 24, 54 + 1680 * 431}));
    const std::string bytes = ReadFileBytes(ScreenshotPath(3));
    EXPECT_TRUE(bytes.size() == 54 + shown.size() && bytes.compare(54, shown.size(), shown) == 0)
        << "the file is not the picture that was shown";
}

TEST_F(LargeViewTest, APickBeforeAnyCaptureStillSwitchesAndSignals) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    ::ShowWindow(View(form), SW_SHOW);
    Key(View(form), VK_RIGHT);
    Key(View(form), VK_RETURN);
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(4));
    EXPECT_FALSE(FileExists(ScreenshotPath(3)));
}

TEST_F(LargeViewTest, ClicksOnAPicturePickOnTheBackgroundCloseAndOnAFrameDoNothing) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    TrayRelease(form, 0x202);
    Click(form.LargeView().Back1(0).Hwnd(), 1, 200);  // the 3-pixel border around desktop 1's picture
    EXPECT_TRUE(Shown(form));
    Key(View(form), VK_RIGHT);
    Click(View(form), 640, 20);  // the title area
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(form.LargeView().Selection(), 3);

    TrayRelease(form, 0x202);
    Click(form.LargeView().Desk1(2).Hwnd(), 100, 100);  // the own desktop
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(ScreenshotPath(3)));

    // A press on one picture released over another is no click.
    TrayRelease(form, 0x202);
    ::SendMessageA(form.LargeView().Desk1(0).Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    ::SendMessageA(form.LargeView().Desk1(0).Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(700, 100));
    EXPECT_TRUE(Shown(form));

    // A real click of the mouse on desktop 2's picture.
    ASSERT_TRUE(WaitFor([] { return ScreenPixel(332, 538) == Red; }));
    ::SetCursorPos(900, 250);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, press, sizeof(INPUT));
    EXPECT_TRUE(WaitFor([&] { return !Shown(form); }));
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(2));
    EXPECT_EQ(OwnFile().width, 559);
}

TEST_F(LargeViewTest, LosingTheActivationClosesItAndTheNextOpeningSelectsTheOwnDesktop) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const OtherWindow other;
    TrayRelease(form, 0x202);
    ASSERT_EQ(::GetActiveWindow(), View(form));
    Key(View(form), VK_UP);
    ASSERT_EQ(form.LargeView().Selection(), 1);
    other.Activate();
    EXPECT_TRUE(WaitFor([&] { return !Shown(form); }));
    EXPECT_EQ(form.LargeView().Selection(), 3);
    EXPECT_EQ(RedFrames(form), (std::set<int16_t>{3}));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
    TrayRelease(form, 0x202);
    EXPECT_TRUE(Shown(form));
    EXPECT_EQ(form.LargeView().Selection(), 3);
}

TEST_F(LargeViewTest, TransparencyIsAppliedOnceAndUndoneWhenTurnedOff) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());  // no settings: transparency on
    const HWND windows[] = {View(form), form.Popup().Hwnd()};
    for (const HWND window : windows) {
        EXPECT_EQ(Alpha(window), 200);
        // Changed behind the form's back: a second "on" must not apply 200 again.
        ::SetLayeredWindowAttributes(window, 0, 123, LWA_ALPHA);
    }
    SetSetting("GUItransparency", 1u);
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    for (const HWND window : windows)
        EXPECT_EQ(Alpha(window), 123);
    SetSetting("GUItransparency", 0u);
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    for (const HWND window : windows) {
        EXPECT_EQ(Alpha(window), 255);
        EXPECT_NE(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    }
    SetSetting("GUItransparency", 7u);
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    for (const HWND window : windows)
        EXPECT_EQ(Alpha(window), 200);
}
