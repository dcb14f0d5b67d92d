#include "core/Dpi.h"
#include "core/Utf8.h"

#include <gtest/gtest.h>

TEST(ScaleForDpi, NinetySixDpiSizesAtTheUsualScalings) {
    const struct {
        int32_t value, dpi, scaled;
    } cases[] = {{495, 96, 495}, {495, 120, 619}, {495, 144, 743}, {495, 192, 990}, {25, 120, 31}, {17, 144, 26},
                 {3, 144, 5},    {50, 120, 63},   {-3, 144, -5},   {121, 0, 121},   {0, 192, 0},   {1, 96, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

TEST(ScaleForDpi, RectanglesKeepNeighboursTouching) {
    // Two 17-pixel rows 7 apart at 96 DPI: scaled by their edges, the second still starts 7 * 1.25 further.
    EXPECT_EQ(ScaleForDpi(DpiRect{96, 88, 121, 17}, 120), (DpiRect{120, 110, 151, 21}));
    EXPECT_EQ(ScaleForDpi(DpiRect{96, 112, 121, 17}, 120), (DpiRect{120, 140, 151, 21}));
    EXPECT_EQ(ScaleForDpi(DpiRect{8, 32, 481, 217}, 144), (DpiRect{12, 48, 722, 326}));
    EXPECT_EQ(ScaleForDpi(DpiRect{8, 32, 481, 217}, 96), (DpiRect{8, 32, 481, 217}));
}

TEST(FontHeightForDpi, PointsToCharacterHeights) {
    EXPECT_EQ(FontHeightForDpi(900, 96), -12);
    EXPECT_EQ(FontHeightForDpi(900, 120), -15);
    EXPECT_EQ(FontHeightForDpi(825, 96), -11);
    EXPECT_EQ(FontHeightForDpi(1400, 144), -28);
    EXPECT_EQ(FontHeightForDpi(2025, 192), -54);
    EXPECT_EQ(FontHeightForDpi(900, 0), -12);
}

TEST(PixelsFromTwips, ToTheNearestWithHalvesToEven) {
    const struct {
        int32_t twips, dpi, pixels;
    } cases[] = {{50, 96, 3},    {450, 96, 30},  {915, 96, 61},  {1900, 96, 127}, {1015, 96, 68}, {22, 96, 1},
                 {0, 96, 0},     {-50, 96, -3},  {915, 120, 76}, {915, 144, 92},  {450, 144, 45}, {915, 192, 122},
                 {5, 144, 0},    {15, 144, 2},   {25, 144, 2},   {100, 0, 7}};
    for (const auto &c : cases)
        EXPECT_EQ(PixelsFromTwips(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    EXPECT_EQ(TwipsFromPixels(61, 96), 915);
    EXPECT_EQ(TwipsFromPixels(92, 144), 920);
    EXPECT_EQ(TwipsFromPixels(1, 192), 8);  // 7.5, halves away from zero
}

TEST(Utf8Prefix, CutsBetweenCharactersOnly) {
    const std::string name = "R\xD0\xB0\xE6\x97\xA5\xF0\x9F\x98\x80";  // R, Cyrillic a, CJK sun, an emoji: 1+2+3+4
    EXPECT_EQ(Utf8Prefix(name, 10), name);
    EXPECT_EQ(Utf8Prefix(name, 9), name.substr(0, 6));
    EXPECT_EQ(Utf8Prefix(name, 6), name.substr(0, 6));
    EXPECT_EQ(Utf8Prefix(name, 5), name.substr(0, 3));
    EXPECT_EQ(Utf8Prefix(name, 2), "R");
    EXPECT_EQ(Utf8Prefix(name, 0), "");
    EXPECT_EQ(Utf8Prefix("plain", 3), "pla");
}
