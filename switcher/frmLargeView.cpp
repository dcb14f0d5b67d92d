#include "frmLargeView.h"

#include "AnsiText.h"
#include "Dpi.h"
#include "Handles.h"
#include "HiddenForm.h"
#include "Lib.h"
#include "Screenshot.h"
#include "core/LargeViewKeys.h"
#include "frmMain.h"

namespace {

constexpr COLORREF kSelected = RGB(255, 0, 0);

}  // namespace

frmLargeView::frmLargeView(HiddenForm &hiddenForm) : m_hiddenForm(hiddenForm) {}

frmLargeView::~frmLargeView() {
    Unload();
}

bool frmLargeView::Load() {
    const ScreenSize screen = DesktopWindowSize();
    if (!CreateBound("Varnel.frmLargeView", WS_EX_TOOLWINDOW, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, screen.Width,
                     screen.Height, nullptr))
        return false;
    for (size_t k = 0; k < 4; ++k) {
        m_back1[k].Create(Hwnd());
        m_desk1[k].Create(m_back1[k].Hwnd(), this);
        m_desk1[k].SetBackColor(::GetSysColor(COLOR_BTNTEXT));
    }
    m_transparencyApplied = false;
    HookMessage(this, Hwnd(), WM_ACTIVATE);
    SetFormName();
    m_monitorDisplay = std::make_unique<cDisplayChange>(*this);
    m_monitorDisplay->Attach(Hwnd());
    ArrangeFrames();
    m_selection = DeskNum();
    ShowSelection();
    return true;
}

void frmLargeView::Unload() {
    if (Hwnd() == nullptr)
        return;
    UnhookMessage(this, Hwnd(), WM_ACTIVATE);
    m_monitorDisplay.reset();
    ::DestroyWindow(Hwnd());
}

void frmLargeView::Show() {
    if (NeedsLayout(m_laidOutFor, ScreenNow()))
        ArrangeFrames();
    // Above the taskbar while it is shown; HideMe sends it to the bottom again.
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::ShowWindow(Hwnd(), SW_SHOWMAXIMIZED);
    ::SetForegroundWindow(Hwnd());
    ::SetFocus(Hwnd());
}

void frmLargeView::HideMe() {
    ::SetWindowPos(Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(Hwnd(), SW_HIDE);
    m_selection = DeskNum();
    ShowSelection();
}

void frmLargeView::SetFormName() {
    const bool wanted = m_hiddenForm.GUITrans();
    if (wanted != m_transparencyApplied) {
        SetWindowAlpha(Hwnd(), wanted ? 200 : 255);
        m_transparencyApplied = wanted;
    }
    m_shownName = ToWide("    " + m_hiddenForm.DesktopName(DeskNum()));
    if (m_placeholderFont)
        ShowPlaceholders();
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
    auto picture = LoadPictureFile(ScreenshotPath(deskNum), DesktopPicture(deskNum));
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

void frmLargeView::PictureBox_Click(const PictureBox &box) {
    for (size_t k = 0; k < m_desk1.size(); ++k) {
        if (&box == &m_desk1[k])
            Desk1_Click(static_cast<int16_t>(k));
    }
}

void frmLargeView::MonitorDisplay_WindowSizeChange(int32_t, int32_t, int32_t, int32_t) {
    ArrangeFrames();
}

LRESULT frmLargeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_KEYDOWN: Form_KeyDown(wParam); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(); return 0;
    case WM_LBUTTONUP: OnButtonUp(); return 0;
    case WM_CAPTURECHANGED: m_pressed = false; return 0;
    case WM_DPICHANGED: ArrangeFrames(); ::InvalidateRect(Hwnd(), nullptr, TRUE); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void frmLargeView::OnButtonDown() {
    m_pressed = true;
    ::SetCapture(Hwnd());
}

void frmLargeView::OnButtonUp() {
    const bool pressed = m_pressed;
    if (::GetCapture() == Hwnd())
        ::ReleaseCapture();
    if (pressed)
        Form_Click();
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
    const SelectedObject selected(dc, m_nameFont.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ReadableTextColour(::GetSysColor(COLOR_CAPTIONTEXT), ::GetSysColor(COLOR_BTNTEXT)));
    // Wide, so that a name in any script shows whatever the font's code page; it ends in "..." at the screen's edge.
    RECT line = {0, 0, client.right, m_layout.frames[0].top};
    ::DrawTextW(dc, m_shownName.c_str(), static_cast<int>(m_shownName.size()), &line,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

ScreenFit frmLargeView::ScreenNow() const {
    const ScreenSize screen = DesktopWindowSize();
    return {screen.Width, screen.Height, WindowDpi(Hwnd())};
}

void frmLargeView::ArrangeFrames() {
    const ScreenFit screen = ScreenNow();
    // A hidden window is not resized with the screen; the view covers the screen it is laid out for.
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, screen.width, screen.height, SWP_NOZORDER | SWP_NOACTIVATE);
    m_dpi = screen.dpi;
    // Tahoma 20.25 points for the name; the empty frames' words a little smaller.
    m_nameFont.Reset(::CreateFontA(FontHeightForDpi(2025, m_dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, "Tahoma"));
    m_placeholderFont.Reset(::CreateFontA(FontHeightForDpi(1400, m_dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                          DEFAULT_PITCH, "Tahoma"));
    m_layout = ::ArrangeFrames(screen.width, screen.height, m_dpi);
    m_laidOutFor = screen;
    for (size_t k = 0; k < 4; ++k) {
        m_back1[k].Place(m_layout.frames[k]);
        m_desk1[k].Place(m_layout.picture);
    }
    for (const auto *boxes : {&m_back1, &m_desk1}) {
        for (const PictureBox &box : *boxes)
            RoundControlCorners(box.Hwnd());
    }
    ShowPlaceholders();
}

void frmLargeView::ShowPlaceholders() {
    const COLORREF back = ::GetSysColor(COLOR_BTNTEXT);
    const COLORREF text = ReadableTextColour(back, ::GetSysColor(COLOR_BTNFACE));
    for (int16_t n = 1; n <= 4; ++n)
        m_desk1[static_cast<size_t>(n - 1)].SetPlaceholder(NotVisitedText(m_hiddenForm.DesktopName(n)),
                                                           m_placeholderFont.Get(), text);
}

void frmLargeView::ShowSelection() {
    for (int16_t k = 1; k <= 4; ++k)
        m_back1[static_cast<size_t>(k - 1)].SetBackColor(k == m_selection ? kSelected
                                                                          : ::GetSysColor(COLOR_BACKGROUND));
}

void frmLargeView::Desk1_Click(int16_t index) {
    Pick(index);
}

void frmLargeView::Form_Click() {
    HideMe();
}

void frmLargeView::Form_KeyDown(WPARAM keyCode) {
    const KeyAction action = LargeViewKey(m_selection, static_cast<uint32_t>(keyCode));
    if (action.kind == KeyActionKind::Pick) {
        Pick(static_cast<int16_t>(action.desk - 1));
    } else if (action.kind == KeyActionKind::Move) {
        m_selection = action.desk;
        ShowSelection();
    }
}

void frmLargeView::Pick(int16_t index) {
    const auto target = static_cast<int16_t>(index + 1);
    if (target == DeskNum()) {
        HideMe();
        return;
    }
    m_hiddenForm.SignalSwitchToDesktop(target);
    // The picture captured when the view was opened; none before the first opening, and then nothing is saved.
    m_hiddenForm.SaveScreenshot(DesktopPicture(DeskNum()));
    m_hiddenForm.SignalUpdateScreenShots();
    HideMe();
}
