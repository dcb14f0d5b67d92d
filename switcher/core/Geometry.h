// Layout arithmetic of the switcher's windows and images: the large view's frames, rescale targets, the
// popup's place beside the taskbar, and readable text colours. Pure: no Windows header.
#pragma once
#include "core/Dpi.h"

#include <array>
#include <cstdint>
#include <optional>

// To the nearest whole number, halves to the even one (437.5 -> 438, 436.5 -> 436).
int32_t RoundHalfEven(double value);

struct Box {
    int32_t left, top, width, height;
    bool operator==(const Box &) const = default;
};

// The large view: four frames in a 2 x 2 grid with 50-pixel margins and gaps (at 96 DPI, scaled to `dpi`), each
// holding a picture box 3 pixels in from its edges at every DPI, so that every switcher and every screenshot file
// keeps the thumbnail size picWidth - 6 x picHeight - 6. Every screenshot is scaled to the picture box's size.
struct LargeViewLayout {
    int32_t picWidth = 0;
    int32_t picHeight = 0;
    std::array<Box, 4> frames{};  // desktop k + 1 in frames[k]: top left, top right, bottom left, bottom right
    Box picture{};                // inside each frame
};
LargeViewLayout ArrangeFrames(int32_t screenWidth, int32_t screenHeight, int32_t dpi = BaseDpi);

// The screen a window is laid out for: its size in pixels and its DPI.
struct ScreenFit {
    int32_t width = 0, height = 0, dpi = 0;
    bool operator==(const ScreenFit &) const = default;
};
// Whether a window laid out for `laidOutFor` must be laid out again before it is shown on the screen measured
// `now`. Windows may tell no window of a desktop that is not shown of a new resolution or scaling, so a window
// asks when it is shown. A screen that could not be measured keeps the layout there is.
bool NeedsLayout(const ScreenFit &laidOutFor, const ScreenFit &now);

struct PixelSize {
    int32_t width, height;
    bool operator==(const PixelSize &) const = default;
};
// The size an image of `source` is rescaled to. `width` and `height` are pixels (0 = not given), or percent of
// the source's size; one given alone keeps the source's aspect. None when there is nothing to scale to.
std::optional<PixelSize> RescaleTarget(PixelSize source, double width, double height, bool percent);

struct ScreenPoint {
    int32_t x, y;
    bool operator==(const ScreenPoint &) const = default;
};
struct ScreenRect {
    int32_t left, top, right, bottom;
};
// Taskbar edges as the shell reports them.
inline constexpr int16_t EdgeLeft = 0;
inline constexpr int16_t EdgeTop = 1;
inline constexpr int16_t EdgeRight = 2;
inline constexpr int16_t EdgeBottom = 3;
// Top-left corner of a width x height popup: against the taskbar, with a corner at the pointer. Not clamped
// to the screen.
ScreenPoint PopupPosition(int16_t taskbarEdge, ScreenPoint cursor, ScreenRect taskbar, int32_t width, int32_t height);

// Colours as 0x00BBGGRR. `text` itself when it stands out from `background`; otherwise white on a dark
// background and black on a light one (some colour schemes give the large view's text and background the
// same colour).
uint32_t ReadableTextColour(uint32_t background, uint32_t text);
