#include "frmLargeView.h"

#include "Handles.h"
#include "HiddenForm.h"
#include "Lib.h"
#include "Screenshot.h"
#include "frmMain.h"

namespace {

constexpr COLORREF kSelected = RGB(255, 0, 0);

}  // namespace

frmLargeView::frmLargeView(HiddenForm &hiddenForm) : m_hiddenForm(hiddenForm) {}

bool frmLargeView::Load() {
    const ScreenSize screen = DesktopWindowSize();
    if (!CreateBound("Varnel.frmLargeView", WS_EX_TOOLWINDOW, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, screen.Width,
                     screen.Height, nullptr))
        return false;
    for (size_t k = 0; k < 4; ++k) {
        m_back1[k].Create(Hwnd());
        m_desk1[k].Create(m_back1[k].Hwnd());
        m_desk1[k].SetBackColor(::GetSysColor(COLOR_BTNTEXT));
    }
    m_transparencyApplied = false;
    HookMessage(this, Hwnd(), WM_ACTIVATE);
    SetFormName();
    ArrangeFrames();
    m_selection = DeskNum();
    ShowSelection();
    return true;
}

void frmLargeView::Unload() {
    if (Hwnd() == nullptr)
        return;
    UnhookMessage(this, Hwnd(), WM_ACTIVATE);
    ::DestroyWindow(Hwnd());
}

void frmLargeView::Show() {
    ::ShowWindow(Hwnd(), SW_SHOWMAXIMIZED);
    ::SetForegroundWindow(Hwnd());
}

void frmLargeView::SetFormName() {
    const bool wanted = m_hiddenForm.GUITrans();
    if (wanted != m_transparencyApplied) {
        SetWindowAlpha(Hwnd(), wanted ? 200 : 255);
        m_transparencyApplied = wanted;
    }
    m_shownName = "    " + m_hiddenForm.DesktopName(DeskNum());
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void frmLargeView::UpdateImage(Image hDIB) {
    auto picture = ImageToPicture(RescaleToSize(std::move(hDIB), picWidth() - 6, picHeight() - 6, FilterBicubic));
    if (picture)
        m_desk1[static_cast<size_t>(DeskNum() - 1)].SetPicture(std::move(picture));
}

bool frmLargeView::UpdateScreenShot(int16_t deskNum) {
    if (deskNum < 1 || deskNum > 4)
        return false;
    auto picture = LoadPictureFile(ScreenshotPath(deskNum));
    if (!picture)
        return false;
    m_desk1[static_cast<size_t>(deskNum - 1)].SetPicture(std::move(picture));
    return true;
}

LRESULT frmLargeView::ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM) {
    if (hWnd == Hwnd() && iMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        ::ShowWindow(Hwnd(), SW_HIDE);
        m_selection = DeskNum();
        ShowSelection();
    }
    return 0;
}

LRESULT frmLargeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DISPLAYCHANGE: ArrangeFrames(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

LRESULT frmLargeView::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    Paint(dc);
    ::EndPaint(Hwnd(), &paint);
    return 0;
}

void frmLargeView::Paint(HDC dc) {
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_CAPTIONTEXT));
    // Tahoma 20.25 points.
    const GdiObject<HFONT> font(::CreateFontA(-::MulDiv(2025, ::GetDeviceCaps(dc, LOGPIXELSY), 7200), 0, 0, 0,
                                              FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
    const SelectedObject selected(dc, font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::TextOutA(dc, 0, 0, m_shownName.data(), static_cast<int>(m_shownName.size()));
}

void frmLargeView::ArrangeFrames() {
    const ScreenSize screen = DesktopWindowSize();
    m_layout = ::ArrangeFrames(screen.Width, screen.Height);
    for (size_t k = 0; k < 4; ++k) {
        m_back1[k].Place(m_layout.frames[k]);
        m_desk1[k].Place(m_layout.picture);
    }
}

void frmLargeView::ShowSelection() {
    for (int16_t k = 1; k <= 4; ++k)
        m_back1[static_cast<size_t>(k - 1)].SetBackColor(k == m_selection ? kSelected
                                                                          : ::GetSysColor(COLOR_BACKGROUND));
}
