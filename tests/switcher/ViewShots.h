// Pictures for the Wine tests: the screen as X shows it and its pixels, BMP files of them, copies kept under
// build/mingw/tests/screenshots for a reader to look at.
#pragma once
#include <windows.h>

#include <olectl.h>

#include <ostream>
#include <string>
#include <vector>

class Shot {
public:
    Shot() = default;
    Shot(int width, int height, COLORREF colour = 0)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, colour) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;  // black outside the picture
    void Set(int x, int y, COLORREF colour);
    int Count(const RECT &area, COLORREF colour) const;  // the pixels of that colour
    std::string Bmp() const;                              // 24 bits, as the switchers write them
    bool Keep(const std::string &name) const;             // as screenshots/NAME.bmp

private:
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

Shot ScreenShot();
COLORREF ScreenPixel(int x, int y);
SIZE PictureSize(IPicture *picture);  // 0 x 0 without a bitmap
RECT ChildRect(HWND child);           // inside the parent's client area
inline bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream &operator<<(std::ostream &out, const RECT &r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
