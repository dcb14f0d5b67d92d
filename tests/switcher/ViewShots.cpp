#include "ViewShots.h"

#include "Handles.h"
#include "TestSupport.h"

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

std::string Shot::Bmp() const {
    const auto stride = static_cast<uint32_t>((m_width * 3 + 3) / 4 * 4);
    const uint32_t size = stride * static_cast<uint32_t>(m_height);
    std::string bmp(54, '\0');
    const uint32_t fields[][2] = {{2, 54 + size}, {10, 54}, {14, 40}, {18, static_cast<uint32_t>(m_width)},
                                  {22, static_cast<uint32_t>(m_height)}, {26, 1 | 24 << 16}, {34, size}};
    for (const auto &[at, value] : fields)
        for (uint32_t i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    bmp[0] = 'B';
    bmp[1] = 'M';
    for (int y = m_height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (size_t x = 0; x < static_cast<size_t>(m_width); ++x) {
            const COLORREF c = At(static_cast<int>(x), y);
            row[3 * x] = static_cast<char>(GetBValue(c));
            row[3 * x + 1] = static_cast<char>(GetGValue(c));
            row[3 * x + 2] = static_cast<char>(GetRValue(c));
        }
        bmp += row;
    }
    return bmp;
}

bool Shot::Keep(const std::string &name) const {
    const std::wstring folder = TestBinDir() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return WriteFileBytes(folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp", Bmp());
}

Shot ScreenShot() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    const WindowDC screen(nullptr);
    const MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    const GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    {
        const SelectedObject selected(dc.Get(), bitmap.Get());
        ::BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
    ::GetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    Shot shot(width, height);
    for (size_t i = 0; i < bits.size(); ++i)
        shot.Set(static_cast<int>(i % width), static_cast<int>(i / width), RGB(bits[i] >> 16, bits[i] >> 8, bits[i]));
    return shot;
}

COLORREF ScreenPixel(int x, int y) {
    const WindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), x, y);
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
