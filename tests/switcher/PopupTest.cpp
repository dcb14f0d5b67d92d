// The popup in-process (this test program is switcher 3): rows and size from the names, what it draws, the
// hover highlight, row clicks, its place beside the taskbar and how it hides.
#include "ViewFixture.h"
#include "core/Dpi.h"

#include <cstdio>
#include <sstream>

namespace {

class PopupTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        const WindowDC screen(nullptr);
        ASSERT_EQ(::GetDeviceCaps(screen.Get(), LOGPIXELSX), 96) << "the expected pixels are for 96 dots per inch";
    }
    static HWND Popup(const HiddenForm &form) { return form.Popup().Hwnd(); }
    static bool Shown(const HiddenForm &form) { return ::IsWindowVisible(Popup(form)) != FALSE; }
    // Width in pixels of a text in Tahoma 14 points, measured here on its own.
    static int TextWidth(const std::string &text) {
        const WindowDC screen(nullptr);
        const GdiObject<HFONT> font(::CreateFontA(-19, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                                  0, 0, "Tahoma"));
        const SelectedObject selected(screen.Get(), font.Get());
        SIZE size = {};
        ::GetTextExtentPoint32A(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    static SIZE WindowSize(HWND window) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    static void Names(const char *one, const char *two, const char *three, const char *four) {
        SetSetting("Desktop1Name", one);
        SetSetting("Desktop2Name", two);
        SetSetting("Desktop3Name", three);
        SetSetting("Desktop4Name", four);
    }
    static void MouseMove(const PictureBox &box) { ::SendMessageA(box.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }
    static bool Seen(const PictureBox &box) { return (::GetWindowLongA(box.Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
};

constexpr RowVisibility OverRow2 = {false, true, false, false, true, false, true, true};

}  // namespace

TEST_F(PopupTest, RowsAndSizeFollowTheWidestName) {
    Names("Mail", "Web browsing", "", "Chat");
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const int widest = TextWidth("  Web browsing   ");
    ASSERT_GT(widest, TextWidth("  Mail   "));
    // The rows are the widest text and a 61-pixel badge wide; margins of 50 twips (3 pixels, 7 in all across).
    EXPECT_EQ(WindowSize(Popup(form)).cx, widest + 68);
    EXPECT_EQ(WindowSize(Popup(form)).cy, 127);
    const RECT background = {0, 0, widest + 68, 127};
    EXPECT_EQ(ChildRect(form.Popup().Picture2().Hwnd()), background);
    const RECT badge = {widest, 0, widest + 61, 30};
    for (size_t i = 0; i < 8; ++i) {
        const int top = 3 + 30 * static_cast<int>(i % 4);
        const RECT row = {3, top, 3 + widest + 61, top + 30};
        EXPECT_EQ(ChildRect(form.Popup().Picture1(i).Hwnd()), row) << i;
        EXPECT_EQ(ChildRect(form.Popup().Image1(i).Hwnd()), badge) << i;
    }
    const GdiObject<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(Popup(form), region.Get()), COMPLEXREGION);

    // A longer name after a settings refresh widens every row; four empty names leave five blanks and the badge.
    SetSetting("Desktop4Name", "A much longer name");
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    EXPECT_EQ(WindowSize(Popup(form)).cx, TextWidth("  A much longer name   ") + 68);
    Names("", "", "", "");
    ASSERT_TRUE(SendCopyData(form.Hwnd(), "ReadRegistry"));
    EXPECT_EQ(WindowSize(Popup(form)).cx, TextWidth("     ") + 68);
    EXPECT_EQ(ChildRect(form.Popup().Image1(0).Hwnd()).left, TextWidth("     "));
}

TEST_F(PopupTest, EachRowShowsItsNameAndBadgeAndTheOwnRowIsGrey) {
    Names("Mail", "Web browsing", "", "Chat");
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const int widest = TextWidth("  Web browsing   ");
    const Shot shot = RenderWindow(Popup(form));
    shot.Keep("popup-rows");
    EXPECT_EQ(shot.At(1, 60), ::GetSysColor(COLOR_MENU));
    const COLORREF normal = ::GetSysColor(COLOR_BACKGROUND);
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(shot.At(widest, 8), normal);
    EXPECT_EQ(shot.At(widest, 38), normal);
    EXPECT_EQ(shot.Count({3, 63, 3 + widest, 93}, grey), widest * 30);  // no name, all grey
    EXPECT_EQ(shot.At(widest, 98), normal);
    for (int row = 0; row < 4; ++row) {
        if (row != 2) {
            EXPECT_GT(shot.Count({3, 3 + 30 * row, 3 + widest, 33 + 30 * row}, text), 20) << row;
        }
    }
    // "Web browsing" is written further than "Mail".
    EXPECT_GT(shot.Count({3 + widest / 2, 33, 3 + widest, 63}, text), 20);
    EXPECT_EQ(shot.Count({3 + widest / 2, 3, 3 + widest, 33}, text), 0);
    // Each row's badge is its digit's picture, pixel for pixel, in one column at the rows' right end.
    for (int row = 0; row < 4; ++row) {
        const Shot badge = ResourceBitmap(("BADGE" + std::to_string(row + 1)).c_str());
        ASSERT_EQ(badge.Width(), 61);
        ASSERT_EQ(badge.Height(), 30);
        int different = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 61; ++x)
                different += shot.At(3 + widest + x, 3 + 30 * row + y) != badge.At(x, y);
        }
        EXPECT_EQ(different, 0) << "badge " << row + 1;
    }
}

TEST_F(PopupTest, TheRowUnderThePointerIsHighlightedButTheOwnRowStaysGrey) {
    Names("Mail", "Web browsing", "", "Chat");
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.Popup().Rows(), NormalRows);
    const int widest = TextWidth("  Web browsing   ");

    MouseMove(form.Popup().Picture1(5));
    EXPECT_EQ(form.Popup().Rows(), OverRow2);
    EXPECT_TRUE(Seen(form.Popup().Picture1(1)));
    EXPECT_FALSE(Seen(form.Popup().Picture1(5)));
    Shot shot = RenderWindow(Popup(form));
    shot.Keep("popup-hover-row2");
    EXPECT_EQ(shot.At(widest - 2, 38), ::GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(shot.At(widest - 2, 8), ::GetSysColor(COLOR_BACKGROUND));

    // Over the highlighted look itself nothing changes; over the badge of a normal row that row lights up.
    MouseMove(form.Popup().Picture1(1));
    EXPECT_EQ(form.Popup().Rows(), OverRow2);
    MouseMove(form.Popup().Image1(7));
    EXPECT_EQ(form.Popup().Rows(), (RowVisibility{false, false, false, true, true, true, true, false}));
    // The own row: its highlighted look is grey and borderless like its normal one.
    MouseMove(form.Popup().Image1(6));
    EXPECT_TRUE(Seen(form.Popup().Picture1(2)));
    EXPECT_EQ(::GetWindowLongA(form.Popup().Picture1(2).Hwnd(), GWL_STYLE) & WS_BORDER, 0);
    EXPECT_NE(::GetWindowLongA(form.Popup().Picture1(1).Hwnd(), GWL_STYLE) & WS_BORDER, 0);
    shot = RenderWindow(Popup(form));
    EXPECT_EQ(shot.Count({3, 63, 3 + widest, 93}, ::GetSysColor(COLOR_GRAYTEXT)), widest * 30);

    MouseMove(form.Popup().Picture2());
    EXPECT_EQ(form.Popup().Rows(), NormalRows);
}

TEST_F(PopupTest, ClickingTheOwnRowOnlyHidesIt) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    for (const PictureBox *box : {&form.Popup().Picture1(6), &form.Popup().Picture1(2), &form.Popup().Image1(2),
                                  &form.Popup().Image1(6)}) {
        TrayRelease(form, 0x205);
        ASSERT_TRUE(Shown(form));
        Click(box->Hwnd(), 10, 10);
        EXPECT_FALSE(Shown(form));
    }
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(ScreenshotPath(3)));
}

TEST_F(PopupTest, ClickingAnotherRowHidesItCapturesSwitchesAndSaves) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const struct {
        const PictureBox *box;
        int16_t target;
    } clicks[] = {{&form.Popup().Image1(4), 1},
                  {&form.Popup().Picture1(1), 2},
                  {&form.Popup().Picture1(7), 4},
                  {&form.Popup().Image1(0), 1}};
    for (const auto &click : clicks) {
        ::DeleteFileW(ScreenshotPath(3).c_str());
        TrayRelease(form, 0x205);
        Click(click.box->Hwnd(), 10, 10);
        EXPECT_FALSE(Shown(form)) << click.target;
        EXPECT_EQ(m_events.SetSince(), SwitchEvents(click.target)) << click.target;
        EXPECT_EQ(OwnFile(), (BmpInfo{559, 431, 24, 54 + 1680 * 431})) << click.target;
    }
    // Pressed on one row and released beside it: no click.
    TrayRelease(form, 0x205);
    ::SendMessageA(form.Popup().Picture1(4).Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageA(form.Popup().Picture1(4).Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 40));
    EXPECT_TRUE(Shown(form));
    EXPECT_EQ(m_events.SetSince(), std::set<int16_t>{});
}

TEST_F(PopupTest, OpensBesideTheTaskbarAtThePointerAndHidesInPlaceWhenItLosesTheActivation) {
    HiddenForm form;
    ASSERT_TRUE(form.Load());
    const OtherWindow other;
    MouseMove(form.Popup().Picture1(5));
    ::SetCursorPos(700, 500);
    TrayRelease(form, 0x205);
    ASSERT_TRUE(Shown(form));
    ASSERT_EQ(::GetActiveWindow(), Popup(form));
    // Wine's shell reports the taskbar at the bottom: the popup's bottom on the taskbar's top, its right edge at
    // the pointer.
    RECT taskbar = {};
    ::GetWindowRect(::FindWindowA("Shell_TrayWnd", ""), &taskbar);
    RECT place = {};
    ::GetWindowRect(Popup(form), &place);
    const SIZE size = WindowSize(Popup(form));
    EXPECT_EQ(place.left, 700 - size.cx);
    EXPECT_EQ(place.top, taskbar.top - size.cy);
    EXPECT_NE(::GetWindowLongA(Popup(form), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    other.Activate();
    EXPECT_TRUE(WaitFor([&] { return !Shown(form); }));
    // Hidden where it was in the z-order (still topmost); HideMe would have sent it to the bottom.
    EXPECT_NE(::GetWindowLongA(Popup(form), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // Shown again, the row that was highlighted still is.
    TrayRelease(form, 0x205);
    EXPECT_EQ(form.Popup().Rows(), OverRow2);
    Click(form.Popup().Picture1(6).Hwnd(), 10, 10);
    EXPECT_FALSE(Shown(form));
    EXPECT_EQ(::GetWindowLongA(Popup(form), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// With Varnel's manifest, at each common DPI (views_at_dpi.exe, pictures kept as views-DPI-popup and -largeview):
// every row holds its name or ends it in an ellipsis, the popup stays inside the screen, the badge box is its
// bitmap's size, the large view's name fits above the frames, and the tray tip cuts the UTF-8 name between
// characters.
TEST_F(PopupTest, AtEveryDpiRowsHoldTheirNamesBadgesFitAndTheTipCutsBetweenCharacters) {
    // Cyrillic, CJK and an emoji, read through the ANSI registry calls as UTF-8: 68 bytes, the tip's 63rd inside
    // the last CJK character.
    const std::wstring own = L"\u0420\u0430\u0431\u043e\u0442\u0430\u65e5\u672c \U0001F600 \u0420\u0430\u0431"
                             L"\u043e\u0442\u0430 \u65e5\u672c\u65e5\u672c \u0420\u0430\u0431\u043e\u0442\u0430"
                             L"\u65e5\u672c";
    // Cyrillic, Greek and Latin, which the fonts of this Wine prefix all draw (it has none for CJK or emoji).
    const std::wstring second = L"\u041f\u043e\u0447\u0442\u0430 \u00b7 \u03a4\u03b1\u03c7\u03c5\u03b4\u03c1"
                                L"\u03bf\u03bc\u03b5\u03af\u03bf \u00b7 Mail";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Varnel", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    for (const auto &[value, text] : {std::pair{L"Desktop3Name", own}, std::pair{L"Desktop2Name", second}})
        ::RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    const std::string longName = "A desktop name far longer than any screen can show in the popup's row at 200 %";
    SetSetting("Desktop1Name", longName);
    std::string ownUtf8(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, own.c_str(), -1, nullptr, 0, nullptr,
                                                                  nullptr)) - 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, own.c_str(), -1, ownUtf8.data(), static_cast<int>(ownUtf8.size()), nullptr,
                          nullptr);
    ASSERT_EQ(ownUtf8.size(), 68u);
    const std::string expectedTip = ownUtf8.substr(0, 62);  // not 63: that would keep a piece of the last character

    for (const DWORD dpi : CommonDpis) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const PrefixDpi prefixDpi(dpi);
        const TempFolder folder;
        const std::wstring out = folder.File(L"views.txt");
        ASSERT_EQ(RunProcess(TestBinDir() + L"\\views_at_dpi.exe",
                             L"views_at_dpi.exe \"" + out + L"\" views-" + std::to_wstring(dpi)),
                  0u);
        std::istringstream lines(ReadFileBytes(out));
        std::string word;
        int screen = 0;
        int rows = 0;
        bool sawTip = false;
        while (lines >> word) {
            if (word == "dpi") {
                int seen = 0;
                lines >> seen;
                EXPECT_EQ(seen, static_cast<int>(dpi)) << "the manifest's DPI awareness was not taken";
            } else if (word == "screen") {
                lines >> screen;
            } else if (word == "popup") {
                int left, top, width, height;
                lines >> left >> top >> width >> height;
                EXPECT_LE(width, screen) << "wider than the screen";
                EXPECT_EQ(height, PixelsFromTwips(1900, static_cast<int32_t>(dpi)));
            } else if (word == "row") {
                int desk, left, top, width, height, badgeLeft, badgeTop, badgeWidth, badgeHeight, bitmapWidth,
                    bitmapHeight, textWidth, textHeight;
                std::string badge, bitmap, text;
                lines >> desk >> left >> top >> width >> height >> badge >> badgeLeft >> badgeTop >> badgeWidth >>
                    badgeHeight >> bitmap >> bitmapWidth >> bitmapHeight >> text >> textWidth >> textHeight;
                ++rows;
                EXPECT_EQ(height, PixelsFromTwips(450, static_cast<int32_t>(dpi))) << desk;
                EXPECT_EQ(badgeWidth, bitmapWidth) << "the badge box does not hold its bitmap, row " << desk;
                EXPECT_EQ(badgeHeight, bitmapHeight) << desk;
                EXPECT_EQ(badgeHeight, height) << desk;
                EXPECT_EQ(badgeLeft + badgeWidth, width) << desk;
                EXPECT_LE(textHeight, height) << desk;
                // The name fits before the badge, except the one that would make the popup wider than the screen.
                if (desk != 1) {
                    EXPECT_LE(textWidth, badgeLeft) << "the name of desktop " << desk << " is cut";
                }
            } else if (word == "view") {
                int left, top, width, height, nameWidth, nameHeight;
                std::string name;
                lines >> left >> top >> width >> height >> name >> nameWidth >> nameHeight;
                EXPECT_LE(nameHeight, top) << "the name does not fit above the frames";
                EXPECT_EQ(top, ScaleForDpi(50, static_cast<int32_t>(dpi)));
            } else if (word == "tip") {
                std::string bytes;
                std::getline(lines, bytes);
                std::string expectedHex;
                for (const char tipByte : expectedTip) {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned char>(tipByte));
                    expectedHex += hex;
                }
                EXPECT_EQ(bytes, expectedHex) << "the tip is not the name cut between characters";
                sawTip = true;
            }
        }
        EXPECT_EQ(rows, 4);
        EXPECT_TRUE(sawTip);
    }
}
