#include "Dpi.h"

#include <cmath>

namespace {

int32_t Divide(int64_t numerator, int64_t denominator) {
    // Halves away from zero.
    const int64_t twice = 2 * numerator + (numerator < 0 ? -denominator : denominator);
    return static_cast<int32_t>(twice / (2 * denominator));
}

}  // namespace

int32_t ScaleForDpi(int32_t value96, int32_t dpi) {
    return dpi > 0 ? Divide(static_cast<int64_t>(value96) * dpi, BaseDpi) : value96;
}

int32_t FontHeightForDpi(int32_t centiPoints, int32_t dpi) {
    return -Divide(static_cast<int64_t>(centiPoints) * (dpi > 0 ? dpi : BaseDpi), 7200);
}

int32_t PixelsFromTwips(int32_t twips, int32_t dpi) {
    const double pixels = static_cast<double>(twips) * (dpi > 0 ? dpi : BaseDpi) / 1440.0;
    return static_cast<int32_t>(std::nearbyint(pixels));  // the default rounding mode: halves to even
}

int32_t TwipsFromPixels(int32_t pixels, int32_t dpi) {
    return Divide(static_cast<int64_t>(pixels) * 1440, dpi > 0 ? dpi : BaseDpi);
}

DpiRect ScaleForDpi(const DpiRect &rect96, int32_t dpi) {
    // Edges are scaled, not sizes, so that controls side by side at 96 DPI stay side by side without gaps.
    const int32_t left = ScaleForDpi(rect96.left, dpi);
    const int32_t top = ScaleForDpi(rect96.top, dpi);
    return {left, top, ScaleForDpi(rect96.left + rect96.width, dpi) - left,
            ScaleForDpi(rect96.top + rect96.height, dpi) - top};
}
