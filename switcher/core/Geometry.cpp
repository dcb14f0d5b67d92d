#include "Geometry.h"

#include <cmath>

int32_t RoundHalfEven(double value) {
    const double whole = std::floor(value);
    const double fraction = value - whole;
    auto result = static_cast<int32_t>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

LargeViewLayout ArrangeFrames(int32_t screenWidth, int32_t screenHeight) {
    LargeViewLayout layout;
    layout.picWidth = RoundHalfEven((screenWidth - 150) / 2.0);
    layout.picHeight = RoundHalfEven((screenHeight - 150) / 2.0);
    const int32_t right = layout.picWidth + 100;
    const int32_t lower = layout.picHeight + 100;
    layout.frames = {Box{50, 50, layout.picWidth, layout.picHeight}, Box{right, 50, layout.picWidth, layout.picHeight},
                     Box{50, lower, layout.picWidth, layout.picHeight},
                     Box{right, lower, layout.picWidth, layout.picHeight}};
    layout.picture = {3, 3, layout.picWidth - 6, layout.picHeight - 6};
    return layout;
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
