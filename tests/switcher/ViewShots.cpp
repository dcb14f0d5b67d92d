#include "ViewShots.h"

#include "Handles.h"
#include "TestSupport.h"

#include <array>

namespace {

// A top-down 32-bit DIB section to draw into.
struct Canvas {
    Canvas(int width, int height) : dc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap.Reset(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), nullptr, 0));
        previous = ::SelectObject(dc.Get(), bitmap.Get());
    }
    ~Canvas() { ::SelectObject(dc.Get(), previous); }
    Shot Take(int width, int height) const {
        ::GdiFlush();
        Shot shot(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t p = bits[static_cast<size_t>(y) * width + x];
                shot.Set(x, y, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
            }
        }
        return shot;
    }
    MemoryDC dc;
    GdiObject<HBITMAP> bitmap;
    HGDIOBJ previous = nullptr;
    uint32_t *bits = nullptr;
};

// Draws the window whose top-left outer corner is at `origin` of the canvas, then its children over it; all
// of it clipped to the window's region and the clipping the caller set.
void Draw(HWND window, HDC dc, POINT origin) {
    RECT outer = {};
    ::GetWindowRect(window, &outer);
    POINT client = {0, 0};
    ::ClientToScreen(window, &client);
    const POINT clientAt = {origin.x + client.x - outer.left, origin.y + client.y - outer.top};
    const int saved = ::SaveDC(dc);
    const GdiObject<HRGN> clip(
        ::CreateRectRgn(origin.x, origin.y, origin.x + outer.right - outer.left, origin.y + outer.bottom - outer.top));
    const GdiObject<HRGN> shape(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(window, shape.Get()) != ERROR) {
        ::OffsetRgn(shape.Get(), origin.x, origin.y);
        ::CombineRgn(clip.Get(), clip.Get(), shape.Get(), RGN_AND);
    }
    ::ExtSelectClipRgn(dc, clip.Get(), RGN_AND);
    if (clientAt.x != origin.x || clientAt.y != origin.y) {
        // The frame (a box's single-line border) as the window's default handling draws it.
        ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    }
    ::SetViewportOrgEx(dc, clientAt.x, clientAt.y, nullptr);
    RECT inner = {};
    ::GetClientRect(window, &inner);
    ::IntersectClipRect(dc, 0, 0, inner.right, inner.bottom);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    // Children from the bottom of the z-order up, so the top one is drawn last.
    for (HWND child = ::GetWindow(::GetWindow(window, GW_CHILD), GW_HWNDLAST); child != nullptr;
         child = ::GetWindow(child, GW_HWNDPREV)) {
        // Its own visibility: a hidden view's children are drawn as they would show.
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        RECT at = {};
        ::GetWindowRect(child, &at);
        Draw(child, dc, {origin.x + at.left - outer.left, origin.y + at.top - outer.top});
    }
    ::RestoreDC(dc, saved);
}

uint32_t Crc(const std::string &bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes)
        c = table[(c ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Big32(std::string &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void Chunk(std::string &png, const char *type, const std::string &data) {
    Big32(png, static_cast<uint32_t>(data.size()));
    const std::string typed = type + data;
    png += typed;
    Big32(png, Crc(typed));
}

// zlib data made of stored (uncompressed) blocks: no compressor needed, and any PNG reader takes it.
std::string Stored(const std::string &raw) {
    std::string out("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        out += static_cast<char>(at + length == raw.size() ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (const char ch : raw) {
        a = (a + static_cast<uint8_t>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    Big32(out, b << 16 | a);
    return out;
}

}  // namespace

COLORREF Shot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return RGB(0, 0, 0);
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void Shot::Set(int x, int y, COLORREF colour) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[static_cast<size_t>(y) * m_width + x] = colour;
}

int Shot::Count(const RECT &area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += At(x, y) == colour;
    }
    return count;
}

bool Shot::Keep(const std::string &name) const {
    const std::wstring folder = TestBinDir() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::string raw;
    raw.reserve(static_cast<size_t>(m_height) * (1 + 3 * static_cast<size_t>(m_width)));
    for (int y = 0; y < m_height; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < m_width; ++x) {
            const COLORREF c = At(x, y);
            raw += static_cast<char>(GetRValue(c));
            raw += static_cast<char>(GetGValue(c));
            raw += static_cast<char>(GetBValue(c));
        }
    }
    std::string header;
    Big32(header, static_cast<uint32_t>(m_width));
    Big32(header, static_cast<uint32_t>(m_height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", Stored(raw));
    Chunk(png, "IEND", "");
    return WriteFileBytes(folder + L"\\" + std::wstring(name.begin(), name.end()) + L".png", png);
}

Shot RenderWindow(HWND window) {
    RECT outer = {};
    ::GetWindowRect(window, &outer);
    Canvas canvas(outer.right - outer.left, outer.bottom - outer.top);
    Draw(window, canvas.dc.Get(), {0, 0});
    return canvas.Take(outer.right - outer.left, outer.bottom - outer.top);
}

Shot ScreenShot() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    Canvas canvas(width, height);
    const WindowDC screen(nullptr);
    ::BitBlt(canvas.dc.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    return canvas.Take(width, height);
}

COLORREF ScreenPixel(int x, int y) {
    const WindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), x, y);
}

Shot ResourceBitmap(const char *name) {
    const GdiObject<HBITMAP> bitmap(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
    BITMAP description = {};
    if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof description, &description) == 0)
        return {};
    Canvas canvas(description.bmWidth, description.bmHeight);
    const MemoryDC source(::CreateCompatibleDC(nullptr));
    const SelectedObject selected(source.Get(), bitmap.Get());
    ::BitBlt(canvas.dc.Get(), 0, 0, description.bmWidth, description.bmHeight, source.Get(), 0, 0, SRCCOPY);
    return canvas.Take(description.bmWidth, description.bmHeight);
}

std::string SolidBmp(int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const auto size = static_cast<uint32_t>(54 + stride * height);
    std::string bmp(54, '\0');
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<uint32_t>(stride * height), 4);
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<char>(GetBValue(colour));
        row[3 * x + 1] = static_cast<char>(GetGValue(colour));
        row[3 * x + 2] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y)
        bmp += row;
    return bmp;
}

SIZE PictureSize(IPicture *picture) {
    OLE_HANDLE handle = 0;
    BITMAP bitmap = {};
    if (picture != nullptr && SUCCEEDED(picture->get_Handle(&handle)))
        ::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

RECT ChildRect(HWND child) {
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}
