// The popup in-process (this test program is switcher 3), and at other DPIs.
#include "AnsiText.h"
#include "Dpi.h"
#include "ViewFixture.h"
#include "core/PopupLayout.h"

// Cyrillic, CJK and an emoji: 68 bytes of UTF-8, the tip's 63rd inside the last CJK character.
const std::string OwnName = "\xd0\xa0\xd0\xb0\xd0\xb1\xd0\xbe\xd1\x82\xd0\xb0\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 "
                            "\xd0\xa0\xd0\xb0\xd0\xb1\xd0\xbe\xd1\x82\xd0\xb0 \xe6\x97\xa5\xe6\x9c\xac\xe6\x97\xa5\xe6\x9c\xac "
                            "\xd0\xa0\xd0\xb0\xd0\xb1\xd0\xbe\xd1\x82\xd0\xb0\xe6\x97\xa5\xe6\x9c\xac";

static SIZE Measure(const std::string &text, int centiPoints, int32_t dpi) {
    const GdiObject<HFONT> font(::CreateFontA(FontHeightForDpi(centiPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                              FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    const std::wstring wide = ToWide(text);
    SIZE size = {};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

using PopupTest = ViewFixture;

TEST_F(PopupTest, NamesStoredBeforeStartFillTheRowsBesideTheTaskbarAndARowClickSwitchesUnlessItIsTheOwn) {
    SetSetting("Desktop1Name", "Mail");
    SetSetting("Desktop2Name", "Web browsing");
    SetSetting("Desktop3Name", "");
    SetSetting("Desktop4Name", int32_t{7});  // not text: "Desktop 4"
    SetSetting("GUItransparency", int32_t{0});
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    // The tray icon is the image drawn for the small-icon size of the scaling, loaded again when that changes.
    EXPECT_EQ(TrayArt(form), std::make_pair(16, 46));
    RECT suggested = {};
    ::SendMessageA(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(TrayArt(form), std::make_pair(24, 99));
    EXPECT_EQ(form.SysTray()->State(), TrayIcon::StateModified);
    const HWND popup = form.Popup().Hwnd();
    EXPECT_EQ(Alpha(popup), 0);
    EXPECT_EQ(Alpha(form.LargeView().Hwnd()), 0);
    // The rows are the widest name and a 61-pixel badge wide, with margins of 3 pixels.
    const int widest = Measure("  Web browsing   ", 1400, 96).cx;
    for (size_t i = 0; i < 8; ++i) {
        const int top = 3 + 30 * static_cast<int>(i % 4);
        EXPECT_EQ(ChildRect(form.Popup().Picture1(i).Hwnd()), (RECT{3, top, 3 + widest + 61, top + 30})) << i;
        EXPECT_EQ(ChildRect(form.Popup().Image1(i).Hwnd()), (RECT{widest, 0, widest + 61, 30})) << i;
    }
    ::SetCursorPos(700, 500);
    TrayRelease(form, 0x205);
    ASSERT_TRUE(Shown(popup));
    RECT taskbar = {}, place = {};
    ::GetWindowRect(::FindWindowA("Shell_TrayWnd", ""), &taskbar);
    ::GetWindowRect(popup, &place);
    EXPECT_EQ(place, (RECT{700 - widest - 68, taskbar.top - 127, 700, taskbar.top}));
    // Wine's hidden taskbar lies at the top of the screen: the popup is brought into sight to be looked at.
    ::SetWindowPos(popup, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(popup, &place);

    const auto row = [&](int x, int y) {
        return RECT{place.left + x, place.top + y, place.left + 3 + widest, place.top + y + 30};
    };
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT), text = ::GetSysColor(COLOR_WINDOWTEXT);
    const auto ownRowGrey = [&] { return Shot::OfScreen().Count(row(3, 63), grey) == widest * 30; };
    ASSERT_TRUE(WaitFor(ownRowGrey, 5000)) << "the own row (desktop 3) is not all grey";
    const Shot shot = Shot::OfScreen();
    shot.Keep("popup-rows");
    for (const int n : {0, 1, 3})
        EXPECT_GT(shot.Count(row(3, 3 + 30 * n), text), 20) << "no name on row " << n;
    EXPECT_EQ(shot.Count(row(3 + widest / 2, 3), text), 0) << "Mail is short";
    EXPECT_GT(shot.Count(row(3 + widest / 2, 33), text), 20) << "Web browsing is long";
    // The row under the pointer shows its highlighted look; the own row stays grey.
    ::SendMessageA(form.Popup().Picture1(5).Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(form.Popup().Rows(), (RowVisibility{false, true, false, false, true, false, true, true}));
    ::SendMessageA(form.Popup().Image1(6).Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitFor(ownRowGrey, 5000));
    // Changed after start-up: the windows follow; the tray tip keeps the name it started with.
    SetSetting("Desktop4Name", "A much longer name");
    SetSetting("GUItransparency", "0");  // not a number: on
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    EXPECT_EQ(ChildRect(form.Popup().Image1(0).Hwnd()).left, Measure("  A much longer name   ", 1400, 96).cx);
    EXPECT_EQ(Alpha(popup), 200);
    EXPECT_EQ(Alpha(form.LargeView().Hwnd()), 200);
    EXPECT_EQ(std::string(form.SysTray()->NotifyData().szTip), "");

    // A click on a row switches, unless it is the own row; losing the activation hides the popup.
    TrayRelease(form, 0x205);
    Click(form.Popup().Image1(6).Hwnd(), 10, 10);  // the own row's badge
    EXPECT_FALSE(Shown(popup));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(ScreenshotPath(3)));

    TrayRelease(form, 0x205);
    Click(form.Popup().Picture1(1).Hwnd(), 10, 10);  // desktop 2's name
    EXPECT_FALSE(Shown(popup));
    EXPECT_EQ(m_events.SetSince(), SwitchEvents(2));
    EXPECT_EQ(FileBmp(ScreenshotPath(3)), Thumbnail);

    TrayRelease(form, 0x205);
    const ColourWindow other(RGB(0, 0, 255), {0, 0, 50, 50});
    other.Activate();
    EXPECT_TRUE(WaitFor([&] { return !Shown(popup); }));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
}

// The test program (with Varnel's manifest, as the switchers have it) again at 120 and 192 DPI, for the test below:
// the popup, the large view's name and the tray icon at the sizes of that scaling.
TEST_F(PopupTest, AtOtherDpisEverythingFitsAndTheTipCutsBetweenCharacters) {
    SetSetting("Desktop3Name", OwnName);
    SetSetting("Desktop1Name", "A desktop name far longer than any screen can show in the popup's row at 200 %");
    for (const DWORD dpi : {120u, 192u}) {
        const PrefixDpi prefixDpi(dpi);
        EXPECT_EQ(RunProcess(TestBinDir() + L"\\switcher_tests.exe",
                             L"switcher_tests.exe --gtest_also_run_disabled_tests --gtest_filter=PopupAtDpi.*"),
                  0u) << "at " << dpi << " DPI";
    }
}

TEST(PopupAtDpi, DISABLED_RowsBadgesNamesAndTheTrayIconFitAndTheTipCutsBetweenCharacters) {
    ::OleInitialize(nullptr);
    {
        HiddenForm form;
        ASSERT_TRUE(form.Load());
        const frmPopup &popup = form.Popup();
        const int32_t dpi = WindowDpi(popup.Hwnd());
        EXPECT_GT(dpi, 96) << "the manifest's DPI awareness was not taken";
        RECT whole = {};
        ::GetWindowRect(popup.Hwnd(), &whole);
        EXPECT_LE(whole.right - whole.left, ::GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(whole.bottom - whole.top, PixelsFromTwips(1900, dpi));
        for (int16_t i = 4; i < 8; ++i) {
            const RECT row = ChildRect(popup.Picture1(static_cast<size_t>(i)).Hwnd());
            const RECT badge = ChildRect(popup.Image1(static_cast<size_t>(i)).Hwnd());
            const SIZE bitmap = PictureSize(popup.Image1(static_cast<size_t>(i)).Picture());
            const SIZE text = Measure(PopupRowText(form.DesktopName(RowDesktop(i))), 1400, dpi);
            EXPECT_EQ(row.bottom - row.top, PixelsFromTwips(450, dpi)) << i;
            EXPECT_EQ(badge, (RECT{row.right - row.left - bitmap.cx, 0, row.right - row.left, bitmap.cy})) << i;
            EXPECT_EQ(bitmap.cy, row.bottom - row.top) << i;
            // The name fits before the badge, except the one that would make the popup wider than the screen.
            EXPECT_TRUE(text.cy <= bitmap.cy && (i == 4 || text.cx <= badge.left)) << "the name is cut, row " << i;
        }
        const RECT frame = ChildRect(form.LargeView().Back1(0).Hwnd());
        EXPECT_EQ(frame.top, ScaleForDpi(50, dpi));
        EXPECT_LE(Measure("    " + form.DesktopName(3), 2025, dpi).cy, frame.top) << "the name is above the frames";
        EXPECT_EQ(TrayArt(form), dpi == 120 ? std::make_pair(20, 62) : std::make_pair(32, 184));
        // Not 63 bytes: that would keep a piece of the last character.
        EXPECT_EQ(std::string(form.SysTray()->NotifyData().szTip), OwnName.substr(0, 62));
    }
    ::OleUninitialize();
}
