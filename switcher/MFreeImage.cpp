#include "MFreeImage.h"

#include "AnsiText.h"
#include "Handles.h"
#include "core/BmpFile.h"
#include "core/Geometry.h"

#include <optional>
#include <string>
#include <utility>

namespace {

// The functions the switcher uses, all __stdcall as FreeImage exports them on Windows.
struct FreeImageApi {
    FIBITMAP *(__stdcall *AllocateHeaderForBits)(BYTE *bits, unsigned pitch, int type, int width, int height, int bpp,
                                                 unsigned red, unsigned green, unsigned blue);
    unsigned(__stdcall *GetWidth)(FIBITMAP *);
    unsigned(__stdcall *GetHeight)(FIBITMAP *);
    BYTE *(__stdcall *GetBits)(FIBITMAP *);
    BITMAPINFO *(__stdcall *GetInfo)(FIBITMAP *);
    BITMAPINFOHEADER *(__stdcall *GetInfoHeader)(FIBITMAP *);
    FIBITMAP *(__stdcall *Rescale)(FIBITMAP *, int width, int height, int filter);
    void(__stdcall *Unload)(FIBITMAP *);
};

// FreeImage's own Windows build exports the decorated stdcall names, other builds the plain ones.
template <class F>
bool Bind(HMODULE dll, const char *decorated, F &function) {
    FARPROC address = ::GetProcAddress(dll, decorated);
    if (address == nullptr) {
        const std::string plain = std::string(decorated + 1, std::string_view(decorated).find('@') - 1);
        address = ::GetProcAddress(dll, plain.c_str());
    }
    function = reinterpret_cast<F>(reinterpret_cast<void *>(address));
    return function != nullptr;
}

std::optional<FreeImageApi> Load() {
    const HMODULE dll = ::LoadLibraryW((ProgramDirectory() + L"\\FreeImage.dll").c_str());
    if (dll == nullptr)
        return std::nullopt;
    FreeImageApi api = {};
    if (Bind(dll, "_FreeImage_AllocateHeaderForBits@36", api.AllocateHeaderForBits) &&
        Bind(dll, "_FreeImage_GetWidth@4", api.GetWidth) && Bind(dll, "_FreeImage_GetHeight@4", api.GetHeight) &&
        Bind(dll, "_FreeImage_GetBits@4", api.GetBits) && Bind(dll, "_FreeImage_GetInfo@4", api.GetInfo) &&
        Bind(dll, "_FreeImage_GetInfoHeader@4", api.GetInfoHeader) && Bind(dll, "_FreeImage_Rescale@16", api.Rescale) &&
        Bind(dll, "_FreeImage_Unload@4", api.Unload))
        return api;
    ::FreeLibrary(dll);
    return std::nullopt;
}

// Bound at the first use that finds the DLL and kept for the life of the program, so no image outlives it;
// while the DLL is missing every use tries again.
const FreeImageApi *Api() {
    static std::optional<FreeImageApi> api;
    if (!api)
        api = Load();
    return api ? &*api : nullptr;
}

}  // namespace

Image::~Image() {
    if (m_bitmap != nullptr)
        Api()->Unload(m_bitmap);
}

Image::Image(Image &&other) noexcept : m_bitmap(std::exchange(other.m_bitmap, nullptr)) {}

Image &Image::operator=(Image &&other) noexcept {
    if (this != &other) {
        const Image old(std::move(*this));
        m_bitmap = std::exchange(other.m_bitmap, nullptr);
    }
    return *this;
}

int32_t Image::Width() const {
    return m_bitmap ? static_cast<int32_t>(Api()->GetWidth(m_bitmap)) : 0;
}
int32_t Image::Height() const {
    return m_bitmap ? static_cast<int32_t>(Api()->GetHeight(m_bitmap)) : 0;
}
int32_t Image::BitsPerPixel() const {
    return m_bitmap ? Api()->GetInfoHeader(m_bitmap)->biBitCount : 0;
}
const BITMAPINFOHEADER *Image::InfoHeader() const {
    return m_bitmap ? Api()->GetInfoHeader(m_bitmap) : nullptr;
}
const uint8_t *Image::Bits() const {
    return m_bitmap ? Api()->GetBits(m_bitmap) : nullptr;
}

bool FreeImageAvailable() {
    return Api() != nullptr;
}

Image ScreenCapture::CaptureScreen(HWND window) {
    if (window == nullptr)
        window = ::GetDesktopWindow();
    const FreeImageApi *api = Api();
    const WindowDC source(window, true);
    if (api == nullptr || !source)
        return {};
    // The display's size, not the window's.
    const int width = ::GetDeviceCaps(source.Get(), HORZRES);
    const int height = ::GetDeviceCaps(source.Get(), VERTRES);
    const MemoryDC memory(::CreateCompatibleDC(source.Get()));
    if (!memory || !Fit(source.Get(), width, height))
        return {};
    {
        const SelectedObject selected(memory.Get(), m_pixels.Get());
        if (!::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY))
            return {};
    }
    ::GdiFlush();  // GDI may batch its drawing into a DIB section; the pixels are read directly from here on
    // The image wraps the pixels instead of copying them: a DIB section laid out as FreeImage keeps its rows
    // (bottom-up, each padded to four bytes).
    constexpr int kStandardBitmap = 1;  // FreeImage's FIT_BITMAP
    return Image(api->AllocateHeaderForBits(static_cast<BYTE *>(m_bits), BmpRowStride(width), kStandardBitmap, width,
                                            height, 24, 0, 0, 0));
}

void ScreenCapture::Prepare() {
    const WindowDC screen(nullptr);
    if (Api() == nullptr || !screen ||
        !Fit(screen.Get(), ::GetDeviceCaps(screen.Get(), HORZRES), ::GetDeviceCaps(screen.Get(), VERTRES)))
        return;
    // One write a page makes the system commit them all now rather than in the next capture's copy.
    const size_t size = static_cast<size_t>(BmpRowStride(m_width)) * static_cast<size_t>(m_height);
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    for (size_t offset = 0; offset < size; offset += system.dwPageSize)
        static_cast<volatile BYTE *>(m_bits)[offset] = 0;
}

void ScreenCapture::Release() {
    m_pixels.Reset();
    m_bits = nullptr;
    m_width = m_height = 0;
}

bool ScreenCapture::Fit(HDC screen, int width, int height) {
    if (m_pixels && width == m_width && height == m_height)
        return true;
    Release();
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    m_pixels.Reset(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    if (!m_pixels)
        return false;
    m_width = width;
    m_height = height;
    return true;
}

Image RescaleImage(Image source, double width, double height, bool percent, int filter) {
    if (!source)
        return source;
    const auto target = RescaleTarget({source.Width(), source.Height()}, width, height, percent);
    if (!target)
        return source;
    Image scaled(Api()->Rescale(source.Get(), target->width, target->height, filter));
    return scaled ? std::move(scaled) : std::move(source);
}

Image RescaleToSize(Image source, int32_t width, int32_t height, int filter) {
    return RescaleImage(std::move(source), width, height, false, filter);
}

ComPtr<IPicture> ImageToPicture(Image image, HDC dc) {
    if (!image)
        return {};
    std::optional<WindowDC> screen;
    if (dc == nullptr) {
        screen.emplace(nullptr);
        dc = screen->Get();
    }
    const FreeImageApi *api = Api();
    GdiObject<HBITMAP> bitmap(::CreateDIBitmap(dc, api->GetInfoHeader(image.Get()), CBM_INIT, api->GetBits(image.Get()),
                                               api->GetInfo(image.Get()), DIB_RGB_COLORS));
    return PictureOfBitmap(std::move(bitmap));
}

ComPtr<IPicture> PictureOfBitmap(GdiObject<HBITMAP> bitmap) {
    if (!bitmap)
        return {};
    PICTDESC description = {};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap.Get();
    ComPtr<IPicture> picture;
    if (FAILED(::OleCreatePictureIndirect(&description, IID_IPicture, TRUE, picture.Put())))
        return {};
    bitmap.Release();  // the picture owns it now
    return picture;
}
