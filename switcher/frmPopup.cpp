#include "frmPopup.h"

#include "AnsiText.h"
#include "AppBar.h"
#include "Dpi.h"
#include "HiddenForm.h"
#include "Lib.h"
#include "MFreeImage.h"
#include "frmMain.h"

#include <olectl.h>

namespace {

// The badge of row box i shows digit i mod 4 + 1; the bitmaps are resources "BADGE1".."BADGE4", drawn for
// 96 DPI and stretched to the badge box of `dpi`, so the box always just holds its bitmap.
ComPtr<IPicture> BadgePicture(int16_t digit, int32_t dpi) {
    const std::string name = "BADGE" + std::to_string(digit);
    return PictureOfBitmap(GdiObject<HBITMAP>(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, PixelsFromTwips(BadgeWidth, dpi),
                     PixelsFromTwips(BadgeHeight, dpi), LR_DEFAULTCOLOR))));
}

}  // namespace

frmPopup::frmPopup(HiddenForm &hiddenForm) : m_hiddenForm(hiddenForm) {}

frmPopup::~frmPopup() {
    Unload();
}

bool frmPopup::Load() {
    if (!CreateBound("Varnel.frmPopup", WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0,
                     nullptr))
        return false;
    m_picture2.Create(Hwnd(), this);
    m_picture2.SetBackColor(::GetSysColor(COLOR_MENU));
    for (size_t i = 0; i < 8; ++i) {
        m_picture1[i].Create(m_picture2.Hwnd(), this);
        m_image1[i].Create(m_picture1[i].Hwnd(), this);
        const bool highlighted = i < 4;
        m_picture1[i].SetBorder(highlighted);
        m_picture1[i].SetBackColor(::GetSysColor(highlighted ? COLOR_INACTIVECAPTION : COLOR_BACKGROUND));
    }
    ShowRows(NormalRows);
    m_transparencyApplied = false;
    HookMessage(this, Hwnd(), WM_ACTIVATE);
    // The own desktop's row is greyed in both looks, so hovering over it shows nothing.
    const auto own = static_cast<size_t>(DeskNum() - 1);
    m_picture1[own].SetBackColor(::GetSysColor(COLOR_GRAYTEXT));
    m_picture1[own + 4].SetBackColor(::GetSysColor(COLOR_GRAYTEXT));
    m_picture1[own].SetBorder(false);
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

void frmPopup::HideMe() {
    ::SetWindowPos(Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(Hwnd(), SW_HIDE);
}

void frmPopup::UseDpi(int32_t dpi) {
    m_dpi = dpi;
    // Tahoma 14 points.
    m_font.Reset(::CreateFontA(FontHeightForDpi(1400, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
    for (size_t i = 0; i < m_image1.size(); ++i)
        m_image1[i].SetPicture(BadgePicture(RowDesktop(static_cast<int16_t>(i)), dpi));
}

TextSize frmPopup::MeasureText(std::string_view text) const {
    const WindowDC dc(m_picture1[0].Hwnd());
    const SelectedObject selected(dc.Get(), m_font.Get());
    const std::wstring wide = ToWide(text);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.Get(), wide.data(), static_cast<int>(wide.size()), &size);
    return {TwipsFromPixels(size.cx, m_dpi), TwipsFromPixels(size.cy, m_dpi)};
}

ScreenFit frmPopup::ScreenNow() const {
    // The work area of the screen the popup shows on bounds the widest popup.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    return {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top, WindowDpi(Hwnd())};
}

void frmPopup::SetFormName() {
    const ScreenFit screen = ScreenNow();
    if (screen.dpi != m_dpi || !m_font)
        UseDpi(screen.dpi);
    const bool wanted = m_hiddenForm.GUITrans();
    if (wanted != m_transparencyApplied) {
        SetWindowAlpha(Hwnd(), wanted ? 200 : 255);
        m_transparencyApplied = wanted;
    }
    std::array<std::string, 4> names;
    for (int16_t n = 1; n <= 4; ++n)
        names[static_cast<size_t>(n - 1)] = m_hiddenForm.DesktopName(n);
    const PopupLayout layout = LayoutPopup(names, [this](std::string_view text) { return MeasureText(text); },
                                           TwipsFromPixels(screen.width, m_dpi));
    const int32_t badgeLeft = PixelsFromTwips(layout.widest, m_dpi);
    const Box badge = PixelsFromTwips(Box{layout.widest, 0, BadgeWidth, BadgeHeight}, m_dpi);
    const RECT text = {0, PixelsFromTwips(layout.textTop, m_dpi), badgeLeft, PixelsFromTwips(PopupRowHeight, m_dpi)};
    for (size_t i = 0; i < 8; ++i) {
        m_picture1[i].Place(PixelsFromTwips(layout.rows[i], m_dpi));
        m_image1[i].Place({badgeLeft, 0, badge.width, badge.height});
        m_picture1[i].Print(PopupRowText(names[i % 4]), text, m_font.Get(), ::GetSysColor(COLOR_WINDOWTEXT));
    }
    const int width = PixelsFromTwips(layout.width, m_dpi);
    const int height = PixelsFromTwips(layout.height, m_dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_picture2.Place({0, 0, width, height});
    RoundFormCorners(Hwnd());
    m_laidOutFor = screen;
}

LRESULT frmPopup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    // Moved to a screen of another DPI: the rows are laid out anew there.
    case WM_DPICHANGED: SetFormName(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void frmPopup::PositionForm() {
    // Before the placement, which takes the popup's size.
    if (NeedsLayout(m_laidOutFor, ScreenNow()))
        SetFormName();
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

void frmPopup::PictureBox_Click(const PictureBox &box) {
    for (int16_t i = 0; i < 8; ++i) {
        if (&box == &m_picture1[static_cast<size_t>(i)])
            Picture1_Click(i);
        else if (&box == &m_image1[static_cast<size_t>(i)])
            Image1_Click(i);
    }
}

void frmPopup::PictureBox_MouseMove(const PictureBox &box) {
    if (&box == &m_picture2)
        Picture2_MouseMove();
    for (int16_t i = 0; i < 8; ++i) {
        if (&box == &m_picture1[static_cast<size_t>(i)])
            Picture1_MouseMove(i);
        else if (&box == &m_image1[static_cast<size_t>(i)])
            Image1_MouseMove(i);
    }
}

void frmPopup::Picture1_Click(int16_t index) {
    RowClick(index);
}

void frmPopup::Image1_Click(int16_t index) {
    RowClick(index);
}

void frmPopup::Picture1_MouseMove(int16_t index) {
    Hover(index);
}

void frmPopup::Image1_MouseMove(int16_t index) {
    Hover(index);
}

void frmPopup::Picture2_MouseMove() {
    ShowRows(NormalRows);
}

void frmPopup::RowClick(int16_t index) {
    HideMe();
    const int16_t target = RowDesktop(index);
    if (target != DeskNum())
        m_hiddenForm.LeaveDesktop(target);
}

void frmPopup::Hover(int16_t index) {
    ShowRows(HoverRows(m_rows, index));
}

void frmPopup::ShowRows(const RowVisibility &rows) {
    for (size_t j = 0; j < rows.size(); ++j)
        m_picture1[j].SetVisible(rows[j]);
    m_rows = rows;
}
