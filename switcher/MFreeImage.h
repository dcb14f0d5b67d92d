// Screen capture and scaling with FreeImage, bound by name from FreeImage.dll in the program folder at first
// use. Without the DLL every routine answers "no image" and callers go on without screenshots.
#pragma once
#include "ComPtr.h"
#include "Handles.h"

#include <windows.h>

#include <olectl.h>

#include <cstdint>
#include <utility>

struct FIBITMAP;  // FreeImage's image, opaque here

inline constexpr int FilterBicubic = 1;

// Owns one FreeImage image and unloads it (a capture's image only borrows its pixels from the ScreenCapture).
class Image {
public:
    Image() = default;
    explicit Image(FIBITMAP *bitmap) : m_bitmap(bitmap) {}
    ~Image();
    Image(Image &&other) noexcept;
    Image &operator=(Image &&other) noexcept;
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;

    FIBITMAP *Get() const { return m_bitmap; }
    explicit operator bool() const { return m_bitmap != nullptr; }
    int32_t Width() const;
    int32_t Height() const;
    int32_t BitsPerPixel() const;
    const BITMAPINFOHEADER *InfoHeader() const;
    const uint8_t *Bits() const;

private:
    FIBITMAP *m_bitmap = nullptr;
};

// Whether FreeImage.dll could be bound (loading is retried while it cannot).
bool FreeImageAvailable();

// The screen's pixels, kept from one capture to the next: a fresh buffer of the screen's size costs page faults on
// its first copy (under Wine on a slow machine a third of the copy itself), on the switch's critical path. Prepare
// makes them ahead of need, Release lets them go while another desktop is shown. At 24 bits: the copy takes as long
// as at 32, the bicubic rescale of three channels a quarter less than of four, the buffer is a quarter smaller, and
// the scaled image's rows are already those of the file.
class ScreenCapture {
public:
    // The whole screen into the kept pixels, made anew when the display's size changed; 0 (what every caller
    // passes) stands for the desktop window. The image borrows the pixels: it is consumed before the next capture.
    Image CaptureScreen(HWND window = nullptr);
    // The pixels for the display's present size, every page of them touched (none without FreeImage, as no capture
    // would be made).
    void Prepare();
    void Release();
    bool Holds() const { return m_pixels.Get() != nullptr; }

private:
    bool Fit(HDC screen, int width, int height);

    GdiObject<HBITMAP> m_pixels;
    void *m_bits = nullptr;
    int m_width = 0, m_height = 0;
};

// Rescales to width x height (0 = derive from the other, keeping the aspect; percent: of the source's size).
// The source is consumed when a new image is made; otherwise it comes back unchanged.
Image RescaleImage(Image source, double width, double height, bool percent, int filter);
Image RescaleToSize(Image source, int32_t width, int32_t height, int filter);
// A picture that owns a device-dependent copy of the image; dc nullptr stands for the screen. Consumes the image.
ComPtr<IPicture> ImageToPicture(Image image, HDC dc = nullptr);
// A displayable picture that owns `bitmap`; empty (and the bitmap freed) when none can be made.
ComPtr<IPicture> PictureOfBitmap(GdiObject<HBITMAP> bitmap);
