// The switcher's pure rules: the large view's frames, rescale sizes, the popup's place, the tray record's tip
// and callbacks, and the screenshot file headers.
#include "core/BmpFile.h"
#include "core/Geometry.h"
#include "core/TrayRecord.h"

#include <gtest/gtest.h>

#include <string>

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        int32_t rounded;
    } cases[] = {{437.5, 438}, {436.5, 436}, {0.5, 0},   {1.5, 2}, {2.4999, 2}, {2.5001, 3},
                 {-0.5, 0},    {-1.5, -2},   {-2.5, -2}, {7.0, 7}, {-7.2, -7}};
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(ArrangeFrames, ScreenOf1280By1024) {
    const LargeViewLayout layout = ArrangeFrames(1280, 1024);
    EXPECT_EQ(layout.picWidth, 565);
    EXPECT_EQ(layout.picHeight, 437);
    EXPECT_EQ(layout.frames[0], (Box{50, 50, 565, 437}));
    EXPECT_EQ(layout.frames[1], (Box{665, 50, 565, 437}));
    EXPECT_EQ(layout.frames[2], (Box{50, 537, 565, 437}));
    EXPECT_EQ(layout.frames[3], (Box{665, 537, 565, 437}));
    EXPECT_EQ(layout.picture, (Box{3, 3, 559, 431}));
    // 50-pixel margins on the right and at the bottom too.
    EXPECT_EQ(1280 - (layout.frames[3].left + layout.frames[3].width), 50);
    EXPECT_EQ(1024 - (layout.frames[3].top + layout.frames[3].height), 50);
}

TEST(ArrangeFrames, OddWidthsRoundHalvesToEvenAndShiftTheRightMargin) {
    const struct {
        int32_t width;
        int32_t picWidth;
        int32_t rightMargin;
        int32_t thumbnailWidth;
    } cases[] = {{1025, 438, 49, 432}, {1023, 436, 51, 430}, {1024, 437, 50, 431}};
    for (const auto &c : cases) {
        const LargeViewLayout layout = ArrangeFrames(c.width, 768);
        EXPECT_EQ(layout.picWidth, c.picWidth) << c.width;
        EXPECT_EQ(layout.frames[1].left, c.picWidth + 100) << c.width;
        EXPECT_EQ(c.width - (layout.frames[1].left + layout.frames[1].width), c.rightMargin) << c.width;
        EXPECT_EQ(layout.picture.width, c.thumbnailWidth) << c.width;
        EXPECT_EQ(layout.picHeight, 309) << c.width;
    }
}

TEST(RescaleTarget, SizesGivenOrDerivedFromTheAspect) {
    const struct {
        PixelSize source;
        double width, height;
        bool percent;
        std::optional<PixelSize> target;
    } cases[] = {
        {{1280, 1024}, 559, 431, false, PixelSize{559, 431}},  // both given: the aspect is not kept
        {{1280, 1024}, 640, 0, false, PixelSize{640, 512}},
        {{1280, 1024}, 559, 0, false, PixelSize{559, 447}},  // 447.2
        {{4, 2}, 5, 0, false, PixelSize{5, 2}},              // 2.5 goes down to even
        {{4, 2}, 7, 0, false, PixelSize{7, 4}},              // 3.5 goes up to even
        {{3, 2}, 0, 3, false, PixelSize{4, 3}},              // 4.5
        {{3, 2}, 0, 5, false, PixelSize{8, 5}},              // 7.5
        {{1280, 1024}, 50, 25, true, PixelSize{640, 256}},
        {{1280, 1024}, 0, 50, true, PixelSize{640, 512}},
        {{1280, 1024}, 0, 0, false, std::nullopt},
        {{1280, 1024}, -5, -1, false, std::nullopt},
        {{0, 1024}, 100, 100, false, std::nullopt},  // no source to scale
        {{4000, 2}, 100, 0, false, std::nullopt},    // the derived side would be 0
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RescaleTarget(c.source, c.width, c.height, c.percent), c.target)
            << c.source.width << "x" << c.source.height << " to " << c.width << "x" << c.height;
    }
}

TEST(PopupPosition, AgainstEachTaskbarEdgeWithACornerAtThePointer) {
    const ScreenRect taskbar{10, 20, 300, 400};
    const ScreenPoint cursor{500, 600};
    EXPECT_EQ(PopupPosition(EdgeBottom, cursor, taskbar, 120, 127), (ScreenPoint{380, -107}));
    EXPECT_EQ(PopupPosition(EdgeLeft, cursor, taskbar, 120, 127), (ScreenPoint{300, 473}));
    EXPECT_EQ(PopupPosition(EdgeTop, cursor, taskbar, 120, 127), (ScreenPoint{380, 400}));
    EXPECT_EQ(PopupPosition(EdgeRight, cursor, taskbar, 120, 127), (ScreenPoint{-110, 473}));
    EXPECT_EQ(PopupPosition(7, cursor, taskbar, 120, 127), (ScreenPoint{-110, 473}));
    // Not clamped: the pointer near the left edge puts the popup off screen.
    EXPECT_EQ(PopupPosition(EdgeBottom, {10, 1020}, {0, 1004, 1280, 1024}, 120, 127), (ScreenPoint{-110, 877}));
}

TEST(TrayTipBytes, CutTo63ThenNulThenBlanks) {
    const std::string sixtyThree(63, 'a');
    auto bytes = TrayTipBytes(sixtyThree, false);
    EXPECT_EQ(std::string(bytes.data(), 63), sixtyThree);
    EXPECT_EQ(bytes[63], '\0');

    bytes = TrayTipBytes(sixtyThree + "bcd", true);
    EXPECT_EQ(std::string(bytes.data(), 63), sixtyThree);
    EXPECT_EQ(bytes[63], '\0');

    bytes = TrayTipBytes("Mail", true);
    EXPECT_EQ(std::string(bytes.data(), 5), std::string("Mail\0", 5));
    EXPECT_EQ(std::string(bytes.data() + 5, 59), std::string(59, ' '));

    bytes = TrayTipBytes("", false);
    EXPECT_EQ(bytes[0], '\0');
    EXPECT_EQ(std::string(bytes.data() + 1, 63), std::string(63, ' '));

    // UTF-8: 62 letters and a three-byte character do not fit; the cut comes before the character, not in it.
    const std::string sixtyTwo(62, 'a');
    bytes = TrayTipBytes(sixtyTwo + "\xE6\x97\xA5", true);
    EXPECT_EQ(std::string(bytes.data(), 63), sixtyTwo + std::string("\0", 1));
    EXPECT_EQ(bytes[63], ' ');
    // In another code page every byte is a character of its own.
    bytes = TrayTipBytes(sixtyTwo + "\xE6\x97\xA5", false);
    EXPECT_EQ(std::string(bytes.data(), 63), sixtyTwo + "\xE6");
}

TEST(TrayEventOf, ButtonMessagesRaiseEventsOthersNone) {
    const struct {
        uint32_t message;
        TrayEvent event;
    } cases[] = {
        {0x201, {TrayEventKind::MouseDown, 1}},
        {0x202, {TrayEventKind::MouseUp, 1}},
        {0x203, {TrayEventKind::MouseDblClick, 1}},
        {0x204, {TrayEventKind::MouseDown, 2}},
        {0x205, {TrayEventKind::MouseUp, 2}},
        {0x206, {TrayEventKind::MouseDblClick, 2}},
        {0x200, {}},  // the pointer moving over the icon
        {0x207, {}},  // middle button down, up, double click
        {0x208, {}},
        {0x209, {}},
        {0x20A, {}},  // wheel
        {0, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TrayEventOf(c.message), c.event) << std::hex << c.message;
}

namespace {

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t U16(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::vector<uint8_t> With32(std::vector<uint8_t> b, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return b;
}

}  // namespace

TEST(BmpHeaders, ThumbnailOf559By431) {
    const std::vector<uint8_t> h = BmpHeaders(559, 431);
    ASSERT_EQ(h.size(), 54u);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(U32(h, 2), 54u + 1680u * 431u);  // 559 * 3 = 1677, padded to 1680
    EXPECT_EQ(U32(h, 6), 0u);
    EXPECT_EQ(U32(h, 10), 54u);
    EXPECT_EQ(U32(h, 14), 40u);
    EXPECT_EQ(U32(h, 18), 559u);
    EXPECT_EQ(U32(h, 22), 431u);  // positive: bottom-up rows
    EXPECT_EQ(U16(h, 26), 1u);
    EXPECT_EQ(U16(h, 28), 24u);
    EXPECT_EQ(U32(h, 30), 0u);
    EXPECT_EQ(U32(h, 34), 1680u * 431u);
    EXPECT_EQ(U32(h, 46), 0u);
}

TEST(BmpHeaders, RowsArePaddedToFourBytes) {
    const struct {
        int32_t width;
        uint32_t stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {559, 1680}, {1280, 3840}};
    for (const auto &c : cases)
        EXPECT_EQ(BmpRowStride(c.width), c.stride) << c.width;
}

TEST(BmpHeaders, NoHeadersForEmptyOrOversizedImages) {
    EXPECT_TRUE(BmpHeaders(0, 10).empty());
    EXPECT_TRUE(BmpHeaders(10, -1).empty());
    EXPECT_TRUE(BmpHeaders(40000, 40000).empty());  // would pass 4 GB
    EXPECT_EQ(BmpHeaders(1, 1).size(), 54u);
}

TEST(CheckBmpFile, OnlyWholeUncompressed24Or32BitFilesNoLargerThanTheScreen) {
    const std::vector<uint8_t> written = BmpHeaders(559, 431);
    const uint64_t whole = 54 + 1680 * 431;
    EXPECT_EQ(CheckBmpFile(written.data(), whole, 1280, 1024), (BmpPixels{559, 431, 24, 54, 1680 * 431}));
    EXPECT_TRUE(CheckBmpFile(written.data(), whole + 9, 559, 431));  // trailing bytes; exactly the screen's size
    EXPECT_FALSE(CheckBmpFile(written.data(), whole - 1, 1280, 1024)) << "truncated";
    EXPECT_FALSE(CheckBmpFile(written.data(), 53, 1280, 1024)) << "shorter than its headers";
    EXPECT_FALSE(CheckBmpFile(written.data(), whole, 558, 1024)) << "wider than the screen";
    EXPECT_FALSE(CheckBmpFile(written.data(), whole, 1280, 430)) << "taller than the screen";
    EXPECT_FALSE(CheckBmpFile(nullptr, whole, 1280, 1024));
    // A 54-byte file whose header claims 100 x 100 pixels.
    EXPECT_FALSE(CheckBmpFile(BmpHeaders(100, 100).data(), 54, 1280, 1024));
    // A well-formed 8000 x 8000 file.
    EXPECT_FALSE(CheckBmpFile(BmpHeaders(8000, 8000).data(), 54 + 24000ull * 8000, 1280, 1024));

    // Top-down rows at 32 bits are read too.
    auto topDown = With32(With32(BmpHeaders(559, 431), 22, static_cast<uint32_t>(-431)), 26, 1 | 32 << 16);
    EXPECT_EQ(CheckBmpFile(topDown.data(), 54 + 2236 * 431, 1280, 1024), (BmpPixels{559, -431, 32, 54, 2236 * 431}));
    EXPECT_FALSE(CheckBmpFile(topDown.data(), 54 + 2236 * 431 - 1, 1280, 1024));

    const struct {
        size_t at;
        uint32_t value;
        const char *what;
    } spoilt[] = {{0, 'B' | 'A' << 8, "no BM"},          {14, 12, "an OS/2 core header"},
                  {14, 41, "an unknown header size"},     {26, 2 | 24 << 16, "two planes"},
                  {26, 1 | 8 << 16, "8 bits a pixel"},    {26, 1 | 16 << 16, "16 bits a pixel"},
                  {30, 1, "RLE compressed"},              {30, 3, "bit fields"},
                  {10, 20, "pixels inside the headers"},  {10, 55, "rows pushed past the end"},
                  {18, 0, "no width"},                    {18, static_cast<uint32_t>(-559), "a negative width"},
                  {22, 0, "no rows"},                     {22, 0x80000000u, "the most negative height"}};
    for (const auto &s : spoilt)
        EXPECT_FALSE(CheckBmpFile(With32(written, s.at, s.value).data(), whole, 1280, 1024)) << s.what;
}

TEST(ScreenshotFileName, OneFilePerDesktop) {
    EXPECT_EQ(ScreenshotFileName(1), "desktop1.bmp");
    EXPECT_EQ(ScreenshotFileName(4), "desktop4.bmp");
}
