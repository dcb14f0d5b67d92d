// The settings window at the DPIs users meet (Wine's LogPixels): the window and its controls scaled from their
// 96-DPI sizes, each caption's text inside its control, and a picture of each page kept as
// controlpanel-PAGE-DPI.png under build/mingw/tests/screenshots.
#include "ControlIds.h"
#include "Dpi.h"
#include "Fonts.h"
#include "PanelDriver.h"
#include "TabStrip.h"
#include "ViewShots.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Control {
    HWND window;
    int id;
};

BOOL CALLBACK Collect(HWND window, LPARAM controls) {
    reinterpret_cast<std::vector<Control> *>(controls)->push_back({window, ::GetDlgCtrlID(window)});
    return TRUE;
}

// Whether the window and every parent up to the form are shown.
bool Shown(HWND window) {
    return ::IsWindowVisible(window) != FALSE;
}

// The caption as drawn (access-key ampersands taken out) in the control's font at `dpi`.
SIZE CaptionSize(const std::wstring &caption, int id, int32_t dpi) {
    const bool bold = id >= ControlId::LabelRecord && id < ControlId::LabelRecord + 5;
    const int size = id >= ControlId::cmdRecordKey1 && id < ControlId::cmdRecordKey1 + 5 ? 825 : 900;
    const GdiObject<HFONT> font = PointFont("Tahoma", size, bold, dpi);
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    RECT measured = {};
    ::DrawTextW(screen.Get(), caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    return {measured.right, measured.bottom};
}

// The room a control leaves its caption: a check box its box, a push button its edges, a group box its line.
int CaptionRoom(HWND control, int width, int32_t dpi) {
    wchar_t windowClass[16] = {};
    ::GetClassNameW(control, windowClass, 16);
    if (::lstrcmpiW(windowClass, L"Button") != 0)
        return width;
    switch (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX: return width - ScaleForDpi(16, dpi);
    case BS_GROUPBOX: return width - ScaleForDpi(16, dpi);
    default: return width - 2 * ScaleForDpi(3, dpi);
    }
}

void KeepWindowPicture(HWND window, const std::string &name) {
    RECT frame = {};
    ::GetWindowRect(window, &frame);
    const Shot screen = ScreenShot();
    Shot picture(frame.right - frame.left, frame.bottom - frame.top);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.Set(x, y, screen.At(frame.left + x, frame.top + y));
    EXPECT_TRUE(picture.Keep(name));
}

}  // namespace

TEST(PanelDpiTest, AtEveryDpiTheWindowScalesAndEachCaptionLiesInsideItsControl) {
    const SettingsSandbox sandbox;
    const TempFolder folder;
    const char *pages[] = {"general", "shortcut-keys", "desktop-names"};
    // WIN + 1 held here: the first row shows the longest status there is.
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_WIN, '1'));
    for (const DWORD dpi : CommonDpis) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const PrefixDpi prefixDpi(dpi);
        const auto scale = [&](int value) { return ScaleForDpi(value, static_cast<int32_t>(dpi)); };
        PanelProcess panel(folder);
        ASSERT_TRUE(panel.Started());
        RECT client = {};
        ::GetClientRect(panel.Form(), &client);
        EXPECT_EQ(client.right, scale(495));
        EXPECT_EQ(client.bottom, scale(343));
        RECT page = {};
        ::GetWindowRect(panel.Control(ControlId::FrameGeneral), &page);
        EXPECT_EQ(page.right - page.left, scale(481));

        // The tab strip's captions, laid out as the strip lays them out, end inside it.
        const GdiObject<HFONT> tabFont = PointFont("Verdana", 825, true, static_cast<int32_t>(dpi));
        TabMetrics metrics;
        {
            const WindowDC screen(nullptr);
            const SelectedObject selected(screen.Get(), tabFont.Get());
            for (const char *caption : {"General", "Shortcut keys", "Custom desktop names"}) {
                SIZE size = {};
                ::GetTextExtentPoint32A(screen.Get(), caption, static_cast<int>(::strlen(caption)), &size);
                metrics.textWidths.push_back(size.cx);
            }
        }
        RECT strip = {};
        ::GetClientRect(panel.Control(ControlId::Tab1), &strip);
        const int sides = scale(10);
        // Each tab is its caption and 2 x 2 sides wide plus 18 to the next; the last one's slant ends 16 after.
        const int lastEnd = sides + metrics.textWidths[0] + metrics.textWidths[1] + metrics.textWidths[2] +
                            12 * sides + 2 * 18 + 16;
        EXPECT_LE(lastEnd, strip.right) << "the last tab runs out of the strip";

        for (int shown = 0; shown < 3; ++shown) {
            if (shown > 0)
                ::SendMessageW(panel.Form(), WM_COMMAND, ControlId::NextPage, 0);
            std::vector<Control> controls;
            ::EnumChildWindows(panel.Form(), Collect, reinterpret_cast<LPARAM>(&controls));
            int checked = 0;
            for (const Control &control : controls) {
                wchar_t text[128] = {};
                ::GetWindowTextW(control.window, text, 128);
                wchar_t windowClass[16] = {};
                ::GetClassNameW(control.window, windowClass, 16);
                if (!Shown(control.window) || text[0] == 0 || ::lstrcmpiW(windowClass, L"Edit") == 0)
                    continue;
                RECT inside = {};
                ::GetClientRect(control.window, &inside);
                const SIZE caption = CaptionSize(text, control.id, static_cast<int32_t>(dpi));
                EXPECT_LE(caption.cx, CaptionRoom(control.window, inside.right, static_cast<int32_t>(dpi)))
                    << "control " << control.id << " cuts its caption";
                EXPECT_LE(caption.cy, inside.bottom) << "control " << control.id << " is lower than its caption";
                ++checked;
            }
            EXPECT_GE(checked, 4) << "page " << pages[shown];
            // Drawn before the picture is taken.
            ::RedrawWindow(panel.Form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            KeepWindowPicture(panel.Form(), "controlpanel-" + std::string(pages[shown]) + "-" + std::to_string(dpi));
        }
        EXPECT_EQ(panel.Text(ControlId::LabelStatus), "Held by another program");
    }
    ::UnregisterHotKey(nullptr, 1);
}
