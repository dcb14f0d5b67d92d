// Sizes at a screen's dots per inch: every window is designed at 96 and asks this for its real sizes. Pure: no
// Windows header.
#pragma once
#include <cstdint>

inline constexpr int32_t BaseDpi = 96;

// A length of the 96-DPI design at `dpi`, to the nearest pixel with halves away from zero (as MulDiv rounds),
// so that a length and its negative scale alike. An unknown `dpi` (0 or less) keeps the 96-DPI length.
int32_t ScaleForDpi(int32_t value96, int32_t dpi);
// The character height (a negative font height) of a font of `centiPoints` hundredths of a point at `dpi`.
int32_t FontHeightForDpi(int32_t centiPoints, int32_t dpi);
// Twips (1/1440 inch) at `dpi` to the nearest pixel, halves to the even one; and back, exactly when they divide.
int32_t PixelsFromTwips(int32_t twips, int32_t dpi);
int32_t TwipsFromPixels(int32_t pixels, int32_t dpi);

struct DpiRect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const DpiRect &) const = default;
};
DpiRect ScaleForDpi(const DpiRect &rect96, int32_t dpi);
