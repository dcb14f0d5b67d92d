#include "ReporterWindow.h"

#include "AnsiText.h"
#include "AppIcon.h"
#include "Dpi.h"
#include "core/ErrorText.h"
#include "core/ReporterLayout.h"

namespace {

constexpr size_t kMaxHandOffBytes = 64 * 1024;

RECT ToRect(const Box &box) {
    return {box.left, box.top, box.right, box.bottom};
}

Box ToBox(const RECT &rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Place(HWND control, const Box &box) {
    ::MoveWindow(control, box.left, box.top, box.Width(), box.Height(), TRUE);
}

Box WorkArea(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return ToBox(monitor.rcWork);
}

}  // namespace

bool ReporterWindow::Create(Report first) {
    m_reports.Add(std::move(first));
    m_logPath = ProgramDirectory() + L"\\" + ToWide(LogFileName);
    if (!CreateBound(ReporterClassName, 0, "Varnel", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr))
        return false;
    SetAppIcon(Hwnd(), "AAA", true);
    ShowReports();
    return true;
}

void ReporterWindow::Present(int showCommand) {
    // The first ShowWindow takes the starter's show mode (minimized when a program of Varnel starts us);
    // the user must see the words, so the window is restored after it.
    ::ShowWindow(Hwnd(), showCommand);
    if (::IsIconic(Hwnd()) || !::IsWindowVisible(Hwnd()))
        ::ShowWindow(Hwnd(), SW_RESTORE);
    ::SetForegroundWindow(Hwnd());
    ::SetFocus(m_button);
}

LRESULT ReporterWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT *>(lParam));
        case WM_COMMAND:
            return OnCommand(wParam);
        case WM_DPICHANGED:
            return OnDpiChanged(wParam, lParam);
        case WM_DESTROY:
            return OnDestroy();
        default:
            return Default(message, wParam, lParam);
    }
}

void ReporterWindow::UseDpi(int32_t dpi) {
    m_dpi = dpi;
    const LOGFONTW font = MessageFontForDpi(dpi);
    m_font.Reset(::CreateFontIndirectW(&font));
    for (const HWND control : {m_text, m_button})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    // The system's warning icon at the icon size of this DPI; shared, so the system keeps it.
    const int size = SystemMetricForDpi(SM_CXICON, dpi);
    ::SendMessageW(m_icon, STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadImageA(nullptr, IDI_WARNING, IMAGE_ICON, size, size, LR_SHARED)), 0);
}

LRESULT ReporterWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    MoveToSuggested(Hwnd(), lParam);
    UseDpi(HIWORD(wParam));
    ShowReports();
    return 0;
}

LRESULT ReporterWindow::OnCreate() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_icon = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0, Hwnd(), nullptr,
                               instance, nullptr);
    m_text = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, Hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ReportTextId)), instance, nullptr);
    m_button = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                 Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    UseDpi(WindowDpi(Hwnd()));
    return m_text != nullptr && m_button != nullptr ? 0 : -1;
}

LRESULT ReporterWindow::OnCopyData(const COPYDATASTRUCT *block) {
    // Any process can send this: only a well-formed hand-off of another reporter is taken.
    if (block == nullptr || block->dwData != ReportHandOffId || block->cbData % sizeof(wchar_t) != 0 ||
        block->cbData > kMaxHandOffBytes || (block->cbData > 0 && block->lpData == nullptr))
        return FALSE;
    const std::wstring arguments(static_cast<const wchar_t *>(block->lpData), block->cbData / sizeof(wchar_t));
    // Restored first: a minimized window's rectangle is not where it will show.
    if (::IsIconic(Hwnd()))
        ::ShowWindow(Hwnd(), SW_RESTORE);
    m_reports.Add(ParseReport(arguments));
    ShowReports();
    ::SetForegroundWindow(Hwnd());
    return TRUE;
}

LRESULT ReporterWindow::OnCommand(WPARAM wParam) {
    // OK, Enter and Escape all close it.
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        ::DestroyWindow(Hwnd());
    return 0;
}

LRESULT ReporterWindow::OnDestroy() {
    ::PostQuitMessage(0);
    return 0;
}

void ReporterWindow::ShowReports() {
    const std::wstring message = m_reports.Message(m_logPath);
    ::SetWindowTextW(m_text, message.c_str());

    WindowDC dc(m_text);
    SelectedObject font(dc.Get(), m_font.Get());
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.Get(), &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    RECT measured = {0, 0, TextWrapWidth(lineHeight), 0};
    ::DrawTextW(dc.Get(), message.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const Box area = WorkArea(Hwnd());
    const ReporterLayout layout = LayoutReporter(lineHeight, SystemMetricForDpi(SM_CXICON, m_dpi),
                                                 measured.bottom - measured.top, area.Height() * 3 / 4);
    Place(m_icon, layout.icon);
    Place(m_text, layout.text);
    Place(m_button, layout.button);

    RECT frame = {0, 0, layout.clientWidth, layout.clientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
    Box window = {0, 0, frame.right - frame.left, frame.bottom - frame.top};
    if (m_placed) {
        // A growing window keeps its place while it fits on the screen.
        RECT current = {};
        ::GetWindowRect(Hwnd(), &current);
        window = {current.left, current.top, current.left + window.Width(), current.top + window.Height()};
    } else {
        const int left = area.left + (area.Width() - window.Width()) / 2;
        const int top = area.top + (area.Height() - window.Height()) / 3;
        window = {left, top, left + window.Width(), top + window.Height()};
        m_placed = true;
    }
    const RECT placed = ToRect(KeepInside(window, area));
    ::SetWindowPos(Hwnd(), nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}
