// Pictures for the Wine tests: the screen as X shows it (or a bitmap) and its pixels, BMP files of them, copies
// kept under build/<tree>/tests/screenshots for a reader to look at.
#pragma once
#include "Handles.h"
#include "TestSupport.h"
#include "core/BmpFile.h"

#include <windows.h>

#include <olectl.h>

#include <ostream>
#include <string>
#include <vector>

class Shot {
public:
    Shot(int width, int height, COLORREF colour = 0)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, colour) {}
    static Shot OfScreen() {
        const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
        const WindowDC screen(nullptr);
        const MemoryDC dc(::CreateCompatibleDC(screen.Get()));
        const GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
        {
            const SelectedObject selected(dc.Get(), bitmap.Get());
            ::BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
        }
        return OfBitmap(bitmap.Get());
    }
    static Shot OfBitmap(HBITMAP bitmap) {  // not selected into a DC
        BITMAP size = {};
        ::GetObjectW(bitmap, sizeof size, &size);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        Shot shot(size.bmWidth, size.bmHeight);
        const WindowDC screen(nullptr);
        ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(size.bmHeight), shot.m_pixels.data(), &info,
                    DIB_RGB_COLORS);
        for (COLORREF &pixel : shot.m_pixels)  // 0x00RRGGBB to 0x00BBGGRR
            pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
        return shot;
    }
    int Width() const { return m_width; }
    COLORREF At(int x, int y) const {  // black outside the picture
        const bool inside = x >= 0 && y >= 0 && x < m_width && y < m_height;
        return inside ? m_pixels[static_cast<size_t>(y) * m_width + x] : RGB(0, 0, 0);
    }
    int Count(const RECT &area, COLORREF colour) const {  // the pixels of that colour
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        }
        return count;
    }
    std::string Bmp() const {  // 24 bits, as the switchers write them
        const std::vector<uint8_t> headers = BmpHeaders(m_width, m_height);
        std::string bmp(headers.begin(), headers.end());
        for (int y = m_height - 1; y >= 0; --y) {
            for (int x = 0; x < m_width; ++x)
                bmp += std::string{char(GetBValue(At(x, y))), char(GetGValue(At(x, y))), char(GetRValue(At(x, y)))};
            bmp.append(BmpRowStride(m_width) - 3 * m_width, '\0');  // rows padded to 4 bytes
        }
        return bmp;
    }
    bool Keep(const std::string &name) const {  // as screenshots/NAME.bmp
        const std::wstring folder = TestBinDir() + L"\\..\\screenshots";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return WriteFileBytes(folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp", Bmp());
    }

private:
    int m_width, m_height;
    std::vector<COLORREF> m_pixels;
};

inline SIZE PictureSize(IPicture *picture) {  // 0 x 0 without a bitmap
    OLE_HANDLE handle = 0;
    BITMAP bitmap = {};
    if (picture != nullptr && SUCCEEDED(picture->get_Handle(&handle)))
        ::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight};
}
inline RECT ChildRect(HWND child) {  // inside the parent's client area
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}
inline bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream &operator<<(std::ostream &out, const RECT &r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
