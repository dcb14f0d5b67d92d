#include "BenchSupport.h"

#include <algorithm>

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / perMs;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

double Median(const std::vector<double> &values) {
    return Percentile(values, 0.5);
}

double Max(const std::vector<double> &values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

ScreenBlit::ScreenBlit()
    : m_screen(::GetDesktopWindow(), true),
      m_memory(::CreateCompatibleDC(m_screen.Get())),
      m_width(::GetDeviceCaps(m_screen.Get(), HORZRES)),
      m_height(::GetDeviceCaps(m_screen.Get(), VERTRES)) {}

GdiObject<HBITMAP> ScreenBlit::NewSection() const {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, m_width, m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    return GdiObject<HBITMAP>(::CreateDIBSection(m_screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

double ScreenBlit::Into(HBITMAP section) const {
    const double start = NowMs();
    const SelectedObject selected(m_memory.Get(), section);
    const bool copied = ::BitBlt(m_memory.Get(), 0, 0, m_width, m_height, m_screen.Get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    return copied ? NowMs() - start : -1;
}

double BareRescale(FIBITMAP *frame, int width, int height) {
    using Rescale = FIBITMAP *(__stdcall *)(FIBITMAP *, int, int, int);
    using Unload = void(__stdcall *)(FIBITMAP *);
    const HMODULE dll = ::LoadLibraryW(L"FreeImage.dll");
    if (dll == nullptr)
        return -1;
    const auto rescale =
        reinterpret_cast<Rescale>(reinterpret_cast<void *>(::GetProcAddress(dll, "FreeImage_Rescale")));
    const auto unload = reinterpret_cast<Unload>(reinterpret_cast<void *>(::GetProcAddress(dll, "FreeImage_Unload")));
    double taken = -1;
    if (rescale != nullptr && unload != nullptr) {
        const double start = NowMs();
        if (FIBITMAP *scaled = rescale(frame, width, height, 1 /* bicubic */)) {
            taken = NowMs() - start;
            unload(scaled);
        }
    }
    ::FreeLibrary(dll);
    return taken;
}
