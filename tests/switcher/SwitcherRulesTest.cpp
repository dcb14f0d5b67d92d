// The switcher's pure rules where the Wine tests cannot reach every case (odd screens, other taskbar edges,
// another code page, damaged files).
#include "core/BmpFile.h"
#include "core/Geometry.h"
#include "core/PopupLayout.h"
#include "core/TrayRecord.h"

#include <gtest/gtest.h>

#include <string>

TEST(SwitcherRules, FramesRescaleSizesAndThePopupRoundHalvesToEvenAndFitTheScreen) {
    EXPECT_EQ(ArrangeFrames(1025, 768).picWidth, 438);  // 437.5
    EXPECT_EQ(ArrangeFrames(1023, 768).frames[3], (Box{536, 409, 436, 309}));  // 436.5
    EXPECT_EQ(RescaleTarget({1280, 1024}, 559, 431, false), (PixelSize{559, 431}));  // the aspect is not kept
    EXPECT_EQ(RescaleTarget({4, 2}, 5, 0, false), (PixelSize{5, 2}));                // 2.5 goes down to even
    EXPECT_EQ(RescaleTarget({3, 2}, 0, 3, false), (PixelSize{4, 3}));                // 4.5 goes down to even
    EXPECT_EQ(RescaleTarget({1280, 1024}, 50, 25, true), (PixelSize{640, 256}));
    EXPECT_EQ(RescaleTarget({4000, 2}, 100, 0, false), std::nullopt);  // the derived side would be 0

    const ScreenRect taskbar{10, 20, 300, 400};
    EXPECT_EQ(PopupPosition(EdgeLeft, {500, 600}, taskbar, 120, 127), (ScreenPoint{300, 473}));
    EXPECT_EQ(PopupPosition(EdgeTop, {500, 600}, taskbar, 120, 127), (ScreenPoint{380, 400}));
    EXPECT_EQ(PopupPosition(EdgeRight, {500, 600}, taskbar, 120, 127), (ScreenPoint{-110, 473}));
    // Every character 120 twips wide: the names give way to keep the popup inside a screen of 4000 twips.
    const auto fixedWidth = [](std::string_view text) { return TextSize{static_cast<int32_t>(text.size()) * 120, 345}; };
    const PopupLayout layout = LayoutPopup({std::string(40, 'x'), "a", "b", "c"}, fixedWidth, 4000);
    EXPECT_EQ(layout.width, 4000);
    EXPECT_EQ(layout.textTop, 52);  // 52.5
}

TEST(SwitcherRules, TheTrayTipInAnotherCodePageAndOnlyButtonPressesAndReleasesRaiseEvents) {
    const auto bytes = TrayTipBytes(std::string(62, 'a') + "\xE6\x97\xA5", false);
    EXPECT_EQ(std::string(bytes.data(), 64), std::string(62, 'a') + std::string("\xE6\0", 2));
    // Only a release opens a view: not a press, a double click, the middle button, a move or the wheel.
    for (uint32_t message = 0x200; message <= 0x20A; ++message)
        EXPECT_EQ(TrayEventOf(message).kind == TrayEventKind::MouseUp, message == 0x202 || message == 0x205) << message;
}

TEST(SwitcherRules, ScreenshotFilesAreWholeUncompressedAndNoLargerThanTheScreen) {
    const std::vector<uint8_t> written = BmpHeaders(559, 431);
    const uint64_t whole = 54 + 1680 * 431;  // rows padded from 1677 to 1680 bytes
    EXPECT_EQ(CheckBmpFile(written.data(), whole, 1280, 1024), (BmpPixels{559, 431, 24, 54, 1680 * 431}));
    EXPECT_FALSE(CheckBmpFile(written.data(), whole - 1, 1280, 1024)) << "truncated";
    EXPECT_FALSE(CheckBmpFile(written.data(), whole, 558, 1024)) << "wider than the screen";
    EXPECT_FALSE(CheckBmpFile(written.data(), whole, 1280, 430)) << "taller than the screen";
    // An OS/2 header, 8 bits a pixel, RLE, pixels inside the headers, no rows.
    const std::pair<size_t, uint32_t> spoilers[] = {{14, 12}, {26, 1 | 8 << 16}, {30, 1}, {10, 20}, {22, 0}};
    for (const auto &[at, value] : spoilers) {
        std::vector<uint8_t> spoilt = written;
        for (size_t i = 0; i < 4; ++i)
            spoilt[at + i] = static_cast<uint8_t>(value >> (8 * i));
        EXPECT_FALSE(CheckBmpFile(spoilt.data(), whole, 1280, 1024)) << at;
    }
}
