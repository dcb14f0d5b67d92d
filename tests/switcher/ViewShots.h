// Pictures for the Wine tests: the screen as X shows it, its pixels, BMP files made of them, and copies kept
// under build/mingw/tests/screenshots for a reader to look at.
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
    // The colour at (x, y); black outside the picture.
    COLORREF At(int x, int y) const;
    void Set(int x, int y, COLORREF colour);
    // How many pixels of the rectangle have exactly that colour.
    int Count(const RECT &area, COLORREF colour) const;
    // The shot as a 24-bit BMP file, as the switchers write them.
    std::string Bmp() const;
    // Writes the shot as build/mingw/tests/screenshots/NAME.bmp; false when it could not.
    bool Keep(const std::string &name) const;

private:
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// The screen as X shows it now, and one pixel of it.
Shot ScreenShot();
COLORREF ScreenPixel(int x, int y);
// The size of a picture's bitmap; 0 x 0 without one.
SIZE PictureSize(IPicture *picture);
// The position of a child window inside its parent's client area.
RECT ChildRect(HWND child);
inline bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream &operator<<(std::ostream &out, const RECT &r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
