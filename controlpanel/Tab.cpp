#include "Tab.h"

#include "PanelRules.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace {

COLORREF ToColorRef(uint32_t color) {
    return (color & 0x80000000u) ? ::GetSysColor(static_cast<int>(color & 0xFFu)) : (color & 0x00FFFFFFu);
}

POINT OnCircle(const DrawOp &arc, double angle) {
    // y grows downwards on the surface, so the angle's sine is subtracted.
    return {arc.x + std::lround(arc.radius * std::cos(angle)), arc.y - std::lround(arc.radius * std::sin(angle))};
}

}  // namespace

bool Tab::Create(HWND parent, int id, int x, int y, int width, int height) {
    if (!CreateBound("ControlPanel.Tab", 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, x, y, width, height, parent))
        return false;
    ::SetWindowLongPtrA(Hwnd(), GWLP_ID, id);
    OnSize();
    return true;
}

void Tab::AddItem(const std::string &caption) {
    m_strip.AddItem(caption);
    reDraw(ListIndex());
}

void Tab::SetList(int16_t index, const std::string &caption) {
    m_strip.SetList(index, caption);
    reDraw(ListIndex());
}

void Tab::SetListIndex(int16_t index) {
    reDraw(index);
    RaiseClick();
}

void Tab::reDraw(int16_t index) {
    if (!m_surface)
        return;
    if (const auto ops = m_strip.reDraw(index, Measure())) {
        Render(*ops);
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void Tab::SetLook(const TabLook &look) {
    m_strip.look = look;
    ClearSurface();
    reDraw(ListIndex());
}

void Tab::SetFont(const LOGFONTA &font) {
    m_font.Reset(::CreateFontIndirectA(&font));
    reDraw(ListIndex());
}

LRESULT Tab::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: OnSize(); return 0;
    case WM_ERASEBKGND: return 1;  // the surface covers everything
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: OnPress(GET_X_LPARAM(lParam)); return 0;
    case WM_XBUTTONDOWN: OnPress(GET_X_LPARAM(lParam)); return TRUE;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: ::InvalidateRect(Hwnd(), nullptr, FALSE); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void Tab::OnSize() {
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    if (client.right == m_width && client.bottom == m_height && m_surface)
        return;
    m_width = client.right;
    m_height = client.bottom;
    WindowDC screen(Hwnd());
    m_surface.Reset();
    m_bitmap.Reset(::CreateCompatibleBitmap(screen.Get(), std::max(m_width, 1), std::max(m_height, 1)));
    m_surface.Reset(::CreateCompatibleDC(screen.Get()));
    ::SelectObject(m_surface.Get(), m_bitmap.Get());
    ClearSurface();
    reDraw(ListIndex());
}

void Tab::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    OnPrintClient(dc);
    ::EndPaint(Hwnd(), &paint);
}

void Tab::OnPrintClient(HDC dc) {
    ::BitBlt(dc, 0, 0, m_width, m_height, m_surface.Get(), 0, 0, SRCCOPY);
    // The focus cue goes on the screen only, so the surface keeps the strip's own drawing.
    const auto index = static_cast<size_t>(ListIndex());
    if (::GetFocus() == Hwnd() && index < m_strip.TabLefts().size() && index < m_strip.TabSpans().size()) {
        const int left = m_strip.TabLefts()[index];
        const RECT cue = {left + 3, m_strip.look.SpacingTop + 7, left + m_strip.TabSpans()[index] - 5, m_height - 2};
        ::DrawFocusRect(dc, &cue);
    }
}

void Tab::OnKeyDown(WPARAM key) {
    if (key != VK_LEFT && key != VK_RIGHT)
        return;
    const int16_t next = NextPage(ListIndex(), key == VK_LEFT ? -1 : 1, ListCount(), false);
    if (next != ListIndex())
        SetListIndex(next);
}

void Tab::OnPress(int x) {
    if (const auto hit = m_strip.HitTest(x))
        reDraw(*hit);
    RaiseClick();
}

void Tab::RaiseClick() {
    if (Click)
        Click();
}

void Tab::ClearSurface() {
    const RECT all = {0, 0, m_width, m_height};
    GdiObject<HBRUSH> brush(::CreateSolidBrush(ToColorRef(m_strip.look.BackColor)));
    ::FillRect(m_surface.Get(), &all, brush.Get());
}

TabMetrics Tab::Measure() const {
    const HDC dc = m_surface.Get();
    SelectedObject font(dc, m_font ? static_cast<HGDIOBJ>(m_font.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    TabMetrics metrics;
    for (const std::string &caption : m_strip.Items()) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        metrics.textWidths.push_back(size.cx);
    }
    SIZE letter = {};
    ::GetTextExtentPoint32A(dc, "H", 1, &letter);
    metrics.textHeight = letter.cy;
    metrics.width = m_width;
    metrics.height = m_height;
    return metrics;
}

void Tab::Render(const std::vector<DrawOp> &ops) {
    const HDC dc = m_surface.Get();
    SelectedObject font(dc, m_font ? static_cast<HGDIOBJ>(m_font.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    for (const DrawOp &op : ops) {
        switch (op.kind) {
        case DrawKind::Clear: ClearSurface(); break;
        case DrawKind::Line: {
            GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, ToColorRef(op.color)));
            SelectedObject selected(dc, pen.Get());
            ::MoveToEx(dc, op.x, op.y, nullptr);
            ::LineTo(dc, op.toX, op.toY);
            break;
        }
        case DrawKind::Arc: {
            GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, ToColorRef(op.color)));
            SelectedObject selected(dc, pen.Get());
            const POINT start = OnCircle(op, op.from);
            const POINT end = OnCircle(op, op.to);
            // Arcs run counter-clockwise by default; the box excludes its right and bottom edges.
            ::Arc(dc, op.x - op.radius, op.y - op.radius, op.x + op.radius + 1, op.y + op.radius + 1, start.x, start.y,
                  end.x, end.y);
            break;
        }
        case DrawKind::Fill: {
            GdiObject<HBRUSH> brush(::CreateSolidBrush(ToColorRef(op.color)));
            SelectedObject selected(dc, brush.Get());
            ::ExtFloodFill(dc, op.x, op.y, ::GetPixel(dc, op.x, op.y), FLOODFILLSURFACE);
            break;
        }
        case DrawKind::Caption: {
            const std::string caption = m_strip.List(op.caption);
            ::SetTextColor(dc, ToColorRef(op.color));
            ::TextOutA(dc, op.x, op.y, caption.c_str(), static_cast<int>(caption.size()));
            break;
        }
        }
    }
}
