#include "Geometry.h"

#include "core/Dpi.h"

#include <cmath>

int32_t RoundHalfEven(double value) {
    const double whole = std::floor(value);
    const double fraction = value - whole;
    auto result = static_cast<int32_t>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

LargeViewLayout ArrangeFrames(int32_t screenWidth, int32_t screenHeight, int32_t dpi) {
    const int32_t gap = ScaleForDpi(50, dpi);
    LargeViewLayout layout;
    layout.picWidth = RoundHalfEven((screenWidth - 3 * gap) / 2.0);
    layout.picHeight = RoundHalfEven((screenHeight - 3 * gap) / 2.0);
    const int32_t right = layout.picWidth + 2 * gap;
    const int32_t lower = layout.picHeight + 2 * gap;
    layout.frames = {Box{gap, gap, layout.picWidth, layout.picHeight}, Box{right, gap, layout.picWidth, layout.picHeight},
                     Box{gap, lower, layout.picWidth, layout.picHeight},
                     Box{right, lower, layout.picWidth, layout.picHeight}};
    layout.picture = {3, 3, layout.picWidth - 6, layout.picHeight - 6};
    return layout;
}

bool NeedsLayout(const ScreenFit &laidOutFor, const ScreenFit &now) {
    return now.width > 0 && now.height > 0 && now.dpi > 0 && now != laidOutFor;
}

namespace {

double Pixels(double value, int32_t sourceSide, bool percent) {
    return percent ? value * sourceSide / 100.0 : value;
}

}  // namespace

std::optional<PixelSize> RescaleTarget(PixelSize source, double width, double height, bool percent) {
    if (source.width <= 0 || source.height <= 0)
        return std::nullopt;
    int32_t w = width > 0 ? RoundHalfEven(Pixels(width, source.width, percent)) : 0;
    int32_t h = height > 0 ? RoundHalfEven(Pixels(height, source.height, percent)) : 0;
    const double aspect = static_cast<double>(source.width) / source.height;
    if (w > 0 && h <= 0)
        h = RoundHalfEven(w / aspect);
    else if (h > 0 && w <= 0)
        w = RoundHalfEven(aspect * h);
    if (w <= 0 || h <= 0)
        return std::nullopt;
    return PixelSize{w, h};
}

ScreenPoint PopupPosition(int16_t taskbarEdge, ScreenPoint cursor, ScreenRect taskbar, int32_t width, int32_t height) {
    switch (taskbarEdge) {
    case EdgeBottom: return {cursor.x - width, taskbar.top - height};
    case EdgeLeft: return {taskbar.right, cursor.y - height};
    case EdgeTop: return {cursor.x - width, taskbar.bottom};
    default: return {taskbar.left - width, cursor.y - height};
    }
}

namespace {

// Perceived brightness, 0..255.
int Brightness(uint32_t colour) {
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return (299 * red + 587 * green + 114 * blue) / 1000;
}

}  // namespace

uint32_t ReadableTextColour(uint32_t background, uint32_t text) {
    constexpr int kLeast = 96;
    const int difference = Brightness(background) - Brightness(text);
    if (difference >= kLeast || difference <= -kLeast)
        return text;
    return Brightness(background) < 128 ? 0xFFFFFFu : 0u;
}
