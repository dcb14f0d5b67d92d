// views_at_dpi.exe OUT NAME: the switcher's popup and large view (as switcher 3, with Varnel's manifest, so at the
// DPI the prefix gives) laid out for the names in the settings. Keeps pictures of both as NAME-popup and
// NAME-largeview, and writes to OUT a line "WHAT numbers..." for each thing noted, the tray tip's bytes in hex.
// Exit code 0 when it got through, 1 when it could not start.
#include "AnsiText.h"
#include "Dpi.h"
#include "HiddenForm.h"
#include "TestSupport.h"
#include "ViewShots.h"
#include "core/PopupLayout.h"

#include <ole2.h>

#include <cstdio>
#include <fstream>

namespace {

std::string Rect(const RECT &r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
           std::to_string(r.bottom - r.top);
}

// The width and height of `text` in Tahoma of `centiPoints` at `dpi`, as the switcher's windows draw it.
SIZE Measure(const std::string &text, int centiPoints, int32_t dpi) {
    const GdiObject<HFONT> font(::CreateFontA(FontHeightForDpi(centiPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                              FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                              DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    const std::wstring wide = ToWide(text);
    SIZE size = {};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void Note(std::ostream &out, const HiddenForm &form) {
    const frmPopup &popup = form.Popup();
    const int32_t dpi = WindowDpi(popup.Hwnd());
    out << "dpi " << dpi << "\n";
    out << "screen " << ::GetSystemMetrics(SM_CXSCREEN) << "\n";
    RECT whole = {};
    ::GetWindowRect(popup.Hwnd(), &whole);
    out << "popup " << Rect(whole) << "\n";
    for (int16_t i = 4; i < 8; ++i) {
        const RECT row = ChildRect(popup.Picture1(static_cast<size_t>(i)).Hwnd());
        const RECT badge = ChildRect(popup.Image1(static_cast<size_t>(i)).Hwnd());
        const SIZE bitmap = PictureSize(popup.Image1(static_cast<size_t>(i)).Picture());
        const SIZE text = Measure(PopupRowText(form.DesktopName(RowDesktop(i))), 1400, dpi);
        out << "row " << RowDesktop(i) << " " << Rect(row) << " badge " << Rect(badge) << " bitmap " << bitmap.cx
            << " " << bitmap.cy << " text " << text.cx << " " << text.cy << "\n";
    }
    const frmLargeView &view = form.LargeView();
    const SIZE name = Measure("    " + form.DesktopName(3), 2025, dpi);
    out << "view " << Rect(ChildRect(view.Back1(0).Hwnd())) << " name " << name.cx << " " << name.cy << "\n";
    out << "tip";
    for (const char tipByte : form.SysTray()->NotifyData().szTip) {
        if (tipByte == '\0')
            break;
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned char>(tipByte));
        out << hex;
    }
    out << "\n";
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    std::ofstream out(argv[1], std::ios::binary);
    const std::string name = argv[2];
    ::OleInitialize(nullptr);
    int result = 1;
    {
        HiddenForm form;
        if (form.Load()) {
            ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, 0x205);  // the popup, from the tray
            Note(out, form);
            RenderWindow(form.Popup().Hwnd()).Keep(name + "-popup");
            ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, 0x202);  // the large view: no picture of 2 and 4 yet
            RenderWindow(form.LargeView().Hwnd()).Keep(name + "-largeview");
            result = 0;
        }
    }
    ::OleUninitialize();
    return result;
}
