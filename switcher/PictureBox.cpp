#include "PictureBox.h"

#include "Handles.h"
#include "Lib.h"

bool PictureBox::Create(HWND parent) {
    return CreateBound("Varnel.PictureBox", 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent);
}

void PictureBox::Place(const Box &box) {
    ::MoveWindow(Hwnd(), box.left, box.top, box.width, box.height, TRUE);
    RoundControlCorners(Hwnd());
}

void PictureBox::SetBackColor(COLORREF colour) {
    m_backColor = colour;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void PictureBox::SetPicture(ComPtr<IPicture> picture) {
    m_picture = std::move(picture);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Default(message, wParam, lParam);
    }
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
    if (!m_picture || FAILED(m_picture->get_Handle(&handle)))
        return;
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP description = {};
    const MemoryDC memory(::CreateCompatibleDC(dc));
    if (!memory || ::GetObjectW(bitmap, sizeof description, &description) == 0)
        return;
    const SelectedObject selected(memory.Get(), bitmap);
    ::BitBlt(dc, 0, 0, description.bmWidth, description.bmHeight, memory.Get(), 0, 0, SRCCOPY);
}
