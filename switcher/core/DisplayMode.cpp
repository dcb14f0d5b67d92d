#include "DisplayMode.h"

DisplayMode DisplayMode::Reported(uint32_t wParam, uint32_t lParam) {
    return {static_cast<int32_t>(wParam), static_cast<int32_t>(lParam & 0xFFFF),
            static_cast<int32_t>((lParam >> 16) & 0x7FFF)};
}

void DisplayMode::Change(const DisplayMode &reported, DisplayChangeEvents &events) {
    if (reported.BitsPerPixel != BitsPerPixel) {
        const int32_t old = BitsPerPixel;
        BitsPerPixel = reported.BitsPerPixel;
        events.MonitorDisplay_ColourDepthChange(BitsPerPixel, old);
    }
    if (reported.WidthPixels != WidthPixels || reported.HeightPixels != HeightPixels) {
        const DisplayMode old = *this;
        WidthPixels = reported.WidthPixels;
        HeightPixels = reported.HeightPixels;
        events.MonitorDisplay_WindowSizeChange(WidthPixels, HeightPixels, old.WidthPixels, old.HeightPixels);
    }
}
