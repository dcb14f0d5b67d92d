#include "core/Dpi.h"
#include "core/Utf8.h"

#include <gtest/gtest.h>

TEST(Dpi, LengthsRectanglesFontsAndTwips) {
    // {value, dpi, expected}: halves away from zero, alike for negatives; an unknown DPI keeps the 96-DPI length.
    const int32_t lengths[][3] = {{495, 120, 619}, {495, 144, 743}, {17, 144, 26}, {-3, 144, -5}, {121, 0, 121}};
    for (const auto &c : lengths)
        EXPECT_EQ(ScaleForDpi(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
    // Two 17-pixel rows 7 apart at 96 DPI: scaled by their edges, the second still starts 7 * 1.25 further.
    EXPECT_EQ(ScaleForDpi(DpiRect{96, 88, 121, 17}, 120), (DpiRect{120, 110, 151, 21}));
    EXPECT_EQ(ScaleForDpi(DpiRect{96, 112, 121, 17}, 120), (DpiRect{120, 140, 151, 21}));
    EXPECT_EQ(ScaleForDpi(DpiRect{8, 9, 17, 17}, 144), (DpiRect{12, 14, 26, 25}));  // 25.5 high: its edges decide
    EXPECT_EQ(FontHeightForDpi(900, 120), -15);
    EXPECT_EQ(FontHeightForDpi(2025, 192), -54);
    EXPECT_EQ(FontHeightForDpi(900, 0), -12);
    // Twips to pixels halve to even (15 and 25 twips at 144 DPI are 1.5 and 2.5); back, halves away from zero.
    const int32_t twips[][3] = {{915, 96, 61}, {-50, 96, -3}, {915, 144, 92}, {15, 144, 2}, {25, 144, 2}, {100, 0, 7}};
    for (const auto &c : twips)
        EXPECT_EQ(PixelsFromTwips(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
    EXPECT_EQ(TwipsFromPixels(92, 144), 920);
    EXPECT_EQ(TwipsFromPixels(1, 192), 8);
}

TEST(Utf8Prefix, CutsBetweenCharactersOnly) {
    const std::string name = "R\xD0\xB0\xE6\x97\xA5\xF0\x9F\x98\x80";  // R, Cyrillic a, CJK sun, an emoji: 1+2+3+4
    const size_t cuts[][2] = {{10, 10}, {9, 6}, {6, 6}, {5, 3}, {2, 1}, {0, 0}};  // {limit, bytes kept}
    for (const auto &c : cuts)
        EXPECT_EQ(Utf8Prefix(name, c[0]), name.substr(0, c[1])) << c[0];
}
