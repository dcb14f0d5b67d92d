#include "PictureBox.h"

#include "AnsiText.h"
#include "Handles.h"

#include <windowsx.h>

bool PictureBox::Create(HWND parent, PictureBoxEvents *events) {
    m_events = events;
    return CreateBound("Varnel.PictureBox", 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                       0, 0, parent);
}

void PictureBox::Place(const Box &box) {
    ::MoveWindow(Hwnd(), box.left, box.top, box.width, box.height, TRUE);
}

void PictureBox::SetVisible(bool visible) {
    ::ShowWindow(Hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

void PictureBox::SetBorder(bool singleLine) {
    const LONG style = ::GetWindowLongA(Hwnd(), GWL_STYLE);
    ::SetWindowLongA(Hwnd(), GWL_STYLE, singleLine ? style | WS_BORDER : style & ~WS_BORDER);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::SetBackColor(COLORREF colour) {
    m_backColor = colour;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void PictureBox::SetPicture(ComPtr<IPicture> picture) {
    m_picture = std::move(picture);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void PictureBox::Print(std::string text, const RECT &area, HFONT font, COLORREF colour) {
    m_text = ToWide(text);
    m_textArea = area;
    m_font = font;
    m_foreColor = colour;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void PictureBox::Cls() {
    m_text.clear();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void PictureBox::SetPlaceholder(std::string text, HFONT font, COLORREF colour) {
    m_placeholder = ToWide(text);
    m_placeholderFont = font;
    m_placeholderColor = colour;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(); return 0;
    case WM_LBUTTONUP: OnButtonUp(lParam); return 0;
    case WM_CAPTURECHANGED: m_pressed = false; return 0;
    case WM_MOUSEMOVE: OnMouseMove(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void PictureBox::OnButtonDown() {
    m_pressed = true;
    ::SetCapture(Hwnd());
}

// A click is a press and a release over the same box.
void PictureBox::OnButtonUp(LPARAM lParam) {
    const bool pressed = m_pressed;
    if (::GetCapture() == Hwnd())
        ::ReleaseCapture();
    m_pressed = false;
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (pressed && ::PtInRect(&client, at) && m_events)
        m_events->PictureBox_Click(*this);
}

void PictureBox::OnMouseMove() {
    if (m_events)
        m_events->PictureBox_MouseMove(*this);
}

LRESULT PictureBox::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    Paint(dc);
    ::EndPaint(Hwnd(), &paint);
    return 0;
}

void PictureBox::Paint(HDC dc) {
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    const GdiObject<HBRUSH> brush(::CreateSolidBrush(m_backColor));
    ::FillRect(dc, &client, brush.Get());
    OLE_HANDLE handle = 0;
    if (m_picture && SUCCEEDED(m_picture->get_Handle(&handle))) {
        const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        BITMAP description = {};
        const MemoryDC memory(::CreateCompatibleDC(dc));
        if (memory && ::GetObjectW(bitmap, sizeof description, &description) != 0) {
            const SelectedObject selected(memory.Get(), bitmap);
            ::BitBlt(dc, 0, 0, description.bmWidth, description.bmHeight, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    ::SetBkMode(dc, TRANSPARENT);
    if (!m_text.empty()) {
        // Wide, so that a name in any script shows whatever the font's code page; too long, it ends in "...".
        const SelectedObject font(dc, m_font);
        ::SetTextColor(dc, m_foreColor);
        RECT area = m_textArea;
        ::DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &area,
                    DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (!m_picture && !m_placeholder.empty()) {
        const SelectedObject font(dc, m_placeholderFont);
        ::SetTextColor(dc, m_placeholderColor);
        // Centred both ways: measured first, as DT_VCENTER works on single lines only.
        constexpr UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
        const int margin = client.right / 16;
        RECT area = {client.left + margin, 0, client.right - margin, 0};
        ::DrawTextW(dc, m_placeholder.c_str(), -1, &area, format | DT_CALCRECT);
        const int height = area.bottom - area.top;
        area = {client.left + margin, (client.bottom - height) / 2, client.right - margin, (client.bottom + height) / 2};
        ::DrawTextW(dc, m_placeholder.c_str(), -1, &area, format);
    }
}
