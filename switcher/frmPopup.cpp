#include "frmPopup.h"

#include "AppBar.h"
#include "Handles.h"
#include "HiddenForm.h"
#include "Lib.h"
#include "core/Geometry.h"

#include <algorithm>

namespace {

// The rows' badges are 915 twips wide, the popup has a 50-twip margin all round and four rows of 450 twips.
constexpr int kBadgeAndMarginsTwips = 915 + 100;
constexpr int kHeightTwips = 4 * 450 + 100;
constexpr int kTwipsPerInch = 1440;

}  // namespace

frmPopup::frmPopup(HiddenForm &hiddenForm) : m_hiddenForm(hiddenForm) {}

bool frmPopup::Load() {
    if (!CreateBound("Varnel.frmPopup", WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "", WS_POPUP, 0, 0, 0, 0, nullptr))
        return false;
    m_transparencyApplied = false;
    HookMessage(this, Hwnd(), WM_ACTIVATE);
    SetFormName();
    return true;
}

void frmPopup::Unload() {
    if (Hwnd() == nullptr)
        return;
    UnhookMessage(this, Hwnd(), WM_ACTIVATE);
    ::DestroyWindow(Hwnd());
}

void frmPopup::Show() {
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(Hwnd());
}

int frmPopup::WidestNameWidth() const {
    const WindowDC dc(Hwnd());
    const GdiObject<HFONT> font(::CreateFontA(-::MulDiv(14, ::GetDeviceCaps(dc.Get(), LOGPIXELSY), 72), 0, 0, 0,
                                              FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
    const SelectedObject selected(dc.Get(), font.Get());
    int widest = 0;
    for (int16_t n = 1; n <= 4; ++n) {
        const std::string text = "  " + m_hiddenForm.DesktopName(n) + "   ";
        SIZE size = {};
        ::GetTextExtentPoint32A(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

void frmPopup::SetFormName() {
    const bool wanted = m_hiddenForm.GUITrans();
    if (wanted != m_transparencyApplied) {
        SetWindowAlpha(Hwnd(), wanted ? 200 : 255);
        m_transparencyApplied = wanted;
    }
    const WindowDC dc(Hwnd());
    const int dpiX = ::GetDeviceCaps(dc.Get(), LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(dc.Get(), LOGPIXELSY);
    const int width = WidestNameWidth() + ::MulDiv(kBadgeAndMarginsTwips, dpiX, kTwipsPerInch);
    const int height = ::MulDiv(kHeightTwips, dpiY, kTwipsPerInch);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RoundFormCorners(Hwnd());
}

void frmPopup::PositionForm() {
    const int16_t edge = GetTaskbarEdge();
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if (const HWND taskbar = ::FindWindowA("Shell_TrayWnd", ""))
        ::GetWindowRect(taskbar, &m_taskbar);
    RECT own = {};
    ::GetWindowRect(Hwnd(), &own);
    const ScreenPoint place =
        PopupPosition(edge, {cursor.x, cursor.y}, {m_taskbar.left, m_taskbar.top, m_taskbar.right, m_taskbar.bottom},
                      own.right - own.left, own.bottom - own.top);
    ::SetWindowPos(Hwnd(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT frmPopup::ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM) {
    if (hWnd == Hwnd() && iMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)
        ::ShowWindow(Hwnd(), SW_HIDE);
    return 0;
}
