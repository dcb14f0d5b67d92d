// The Tab control in this process: what its surface shows for each style, which presses select a tab, and
// that every press and every ListIndex set raises Click.
#include "Fonts.h"
#include "Handles.h"
#include "Tab.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

namespace {

constexpr COLORREF kBack = RGB(255, 0, 0);
constexpr COLORREF kSelected = RGB(0, 255, 0);
constexpr COLORREF kNormal = RGB(0, 0, 255);
constexpr COLORREF kBorder = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kBaseLine = RGB(0, 0, 0);
constexpr int kWidth = 497;
constexpr int kHeight = 25;
constexpr int kSides = 10;

class TabTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent.Reset(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 100, nullptr, nullptr,
                                         ::GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(m_tab.Create(m_parent.Get(), 1, 0, 0, kWidth, kHeight));
        m_tab.Click = [this] { ++m_clicks; };
        m_font = PointLogFont("Verdana", 825, true, BaseDpi);
    }
    void Dress(int32_t style) {
        TabLook look;
        look.Style = style;
        look.BackColor = kBack;
        look.BackColorSelected = kSelected;
        look.BackColorNormal = kNormal;
        look.BorderColor = kBorder;
        look.BorderShadowColor = RGB(0x80, 0x80, 0x80);
        look.BorderColorSelected = kBaseLine;
        look.BorderShadowColorSelected = RGB(0x20, 0x20, 0x20);
        m_tab.SetLook(look);
        m_tab.SetFont(m_font);
        for (const char *caption : {"General", "Shortcut keys", "Custom desktop names"})
            m_tab.AddItem(caption);
    }
    int TextWidth(const std::string &caption) const {
        GdiObject<HFONT> font(::CreateFontIndirectA(&m_font));
        WindowDC screen(nullptr);
        SelectedObject selected(screen.Get(), font.Get());
        SIZE size = {};
        ::GetTextExtentPoint32A(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        return size.cx;
    }
    // Renders the strip as a parent would print it and answers one pixel.
    COLORREF Pixel(int x, int y) const {
        WindowDC screen(nullptr);
        MemoryDC dc(::CreateCompatibleDC(screen.Get()));
        GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), kWidth, kHeight));
        SelectedObject selected(dc.Get(), bitmap.Get());
        ::SendMessageA(m_tab.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        return ::GetPixel(dc.Get(), x, y);
    }
    void Press(int x) { ::SendMessageA(m_tab.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 12)); }

    OwnedWindow m_parent;
    Tab m_tab;
    LOGFONTA m_font = {};
    int m_clicks = 0;
};

}  // namespace

TEST_F(TabTest, RoundedStyleFillsTheSelectedTabOpensItsBaseLineAndSeparatesTheOthers) {
    Dress(0);
    // Tabs advance by text width + 4 spacings + 18.
    const int left1 = kSides + TextWidth("General") + 58;
    const int left2 = left1 + TextWidth("Shortcut keys") + 58;
    const int end = left2 + TextWidth("Custom desktop names") + 58;
    EXPECT_EQ(Pixel(kSides + 2, kHeight - 2), kSelected);
    EXPECT_EQ(Pixel(kSides + 2, kHeight - 1), kSelected) << "the base line stays closed under the selected tab";
    EXPECT_EQ(Pixel(left1 + 5, kHeight - 1), kBaseLine);
    EXPECT_EQ(Pixel(left1 + 5, 12), kBack) << "unselected tabs are not filled";
    EXPECT_EQ(Pixel(left1, 12), kBack) << "no separator right of the selected tab";
    EXPECT_EQ(Pixel(left2, 12), kBorder);
    EXPECT_EQ(Pixel(kWidth - 2, 3), kBack);

    const struct {
        int x;
        int16_t selected;
    } presses[] = {{left1 + 1, 1}, {left2, 1}, {end, 1}, {end + 20, 1}, {kSides, 1}, {left2 + 1, 2}, {kSides + 1, 0}};
    int expectedClicks = 0;
    for (const auto &press : presses) {
        Press(press.x);
        EXPECT_EQ(m_tab.ListIndex(), press.selected) << "press at " << press.x;
        EXPECT_EQ(m_clicks, ++expectedClicks) << "every press raises Click";
    }
    Press(left1 + 1);
    EXPECT_EQ(Pixel(kSides + 2, kHeight - 2), kBack) << "the old tab is drawn unselected again";
    EXPECT_EQ(Pixel(left1 + 2, kHeight - 2), kSelected);
    EXPECT_EQ(Pixel(left2, 12), kBack) << "the tab right of the selected one lost its separator";

    m_tab.SetListIndex(2);
    EXPECT_EQ(m_tab.ListIndex(), 2);
    EXPECT_EQ(m_clicks, expectedClicks + 2);
}

TEST_F(TabTest, TrapezoidStyleFillsUnselectedTabsInTheirOwnColour) {
    Dress(1);
    m_tab.SetListIndex(1);
    // Trapezoids advance by text width + 4 spacings.
    const int left1 = kSides + TextWidth("General") + 40;
    const int w1 = TextWidth("Shortcut keys") + 20;
    EXPECT_EQ(Pixel(kSides + 2, kHeight - 2), kNormal);
    EXPECT_EQ(Pixel(left1 + w1 - 2, kHeight - 2), kSelected);
    EXPECT_EQ(Pixel(kWidth - 2, 3), kBack);
}

TEST_F(TabTest, EmptyStripKeepsItsBackgroundButStillRaisesClick) {
    TabLook look;
    look.BackColor = kBack;
    m_tab.SetLook(look);
    m_tab.SetListIndex(2);
    EXPECT_EQ(m_tab.ListIndex(), 0);
    EXPECT_EQ(m_clicks, 1);
    EXPECT_EQ(Pixel(5, kHeight - 1), kBack) << "no base line without captions";
    Press(30);
    EXPECT_EQ(m_clicks, 2);
}

TEST_F(TabTest, ReplacingACaptionRedrawsWithItsWidth) {
    Dress(0);
    m_tab.SetList(0, "G");
    EXPECT_EQ(m_tab.List(0), "G");
    EXPECT_EQ(m_tab.ListCount(), 3);
    m_tab.SetList(3, "past the end");
    EXPECT_EQ(m_tab.ListCount(), 3);
    const int left2 = kSides + TextWidth("G") + 58 + TextWidth("Shortcut keys") + 58;
    EXPECT_EQ(Pixel(left2, 12), kBorder);
}
