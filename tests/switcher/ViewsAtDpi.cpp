// views_at_dpi.exe OUT DPI: the switcher's popup and large view (as switcher 3, with Varnel's manifest, so at the
// DPI the prefix gives) laid out for the names in the settings. Writes to OUT a line for each thing that does not
// fit, then "tip " and the tray tip's bytes. Exit code 0 when it got through.
#include "AnsiText.h"
#include "Dpi.h"
#include "HiddenForm.h"
#include "ViewShots.h"
#include "core/PopupLayout.h"

#include <ole2.h>

#include <fstream>

namespace {

// The size of `text` in Tahoma of `centiPoints` at `dpi`, as the switcher's windows draw it.
SIZE Measure(const std::string &text, int centiPoints, int32_t dpi) {
    const GdiObject<HFONT> font(::CreateFontA(FontHeightForDpi(centiPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                              FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    const std::wstring wide = ToWide(text);
    SIZE size = {};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void Check(std::ostream &out, const HiddenForm &form, int32_t dpi) {
    int16_t desk = 0;
    const auto fail = [&](bool wrong, const char *what) {
        if (wrong)
            out << what << (desk != 0 ? " of desktop " + std::to_string(desk) : std::string()) << "\n";
    };
    const frmPopup &popup = form.Popup();
    fail(WindowDpi(popup.Hwnd()) != dpi, "the manifest's DPI awareness was not taken");
    RECT whole = {};
    ::GetWindowRect(popup.Hwnd(), &whole);
    fail(whole.right - whole.left > ::GetSystemMetrics(SM_CXSCREEN), "the popup is wider than the screen");
    fail(whole.bottom - whole.top != PixelsFromTwips(1900, dpi), "the popup's height");
    for (int16_t i = 4; i < 8; ++i) {
        desk = RowDesktop(i);
        const RECT row = ChildRect(popup.Picture1(static_cast<size_t>(i)).Hwnd());
        const RECT badge = ChildRect(popup.Image1(static_cast<size_t>(i)).Hwnd());
        const SIZE bitmap = PictureSize(popup.Image1(static_cast<size_t>(i)).Picture());
        const SIZE text = Measure(PopupRowText(form.DesktopName(RowDesktop(i))), 1400, dpi);
        fail(row.bottom - row.top != PixelsFromTwips(450, dpi), "the row's height");
        fail(badge.right - badge.left != bitmap.cx || badge.bottom - badge.top != bitmap.cy,
             "the badge box does not hold its bitmap");
        fail(badge.bottom - badge.top != row.bottom - row.top || badge.right != row.right - row.left,
             "the badge does not end the row");
        // The name fits before the badge, except the one that would make the popup wider than the screen.
        fail(text.cy > row.bottom - row.top || (i != 4 && text.cx > badge.left), "the name is cut");
    }
    desk = 0;
    const RECT frame = ChildRect(form.LargeView().Back1(0).Hwnd());
    fail(frame.top != ScaleForDpi(50, dpi), "the large view's top margin");
    fail(Measure("    " + form.DesktopName(3), 2025, dpi).cy > frame.top, "the name does not fit above the frames");
    out << "tip " << form.SysTray()->NotifyData().szTip << "\n";
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    std::ofstream out(argv[1], std::ios::binary);
    ::OleInitialize(nullptr);
    int result = 1;
    {
        HiddenForm form;
        if (form.Load()) {
            Check(out, form, std::atoi(argv[2]));
            result = 0;
        }
    }
    ::OleUninitialize();
    return result;
}
