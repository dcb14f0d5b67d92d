// Pictures of the switcher's windows for the Wine tests: a window drawn with its children into memory (each
// through WM_PRINTCLIENT), or the screen as X shows it; their pixels, and PNG copies kept under
// build/mingw/tests/screenshots for a reader to look at.
#pragma once
#include <windows.h>

#include <olectl.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class Shot {
public:
    Shot() = default;
    Shot(int width, int height) : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at (x, y); black outside the picture.
    COLORREF At(int x, int y) const;
    void Set(int x, int y, COLORREF colour);
    // How many pixels of the rectangle have exactly that colour.
    int Count(const RECT &area, COLORREF colour) const;
    // Writes the shot as build/mingw/tests/screenshots/NAME.png; false when it could not.
    bool Keep(const std::string &name) const;

private:
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// The window (borderless: its client area) as its paint routines draw it, its visible children on top, each
// clipped to its own region, without putting anything on the screen.
Shot RenderWindow(HWND window);
// The screen as X shows it now, and one pixel of it.
Shot ScreenShot();
COLORREF ScreenPixel(int x, int y);
// The pixels of a bitmap resource of this program.
Shot ResourceBitmap(const char *name);
// A solid-colour 24-bit BMP file of the given size, as the switchers write them.
std::string SolidBmp(int width, int height, COLORREF colour);
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
