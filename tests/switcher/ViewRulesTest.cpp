// The rules of the switcher's windows: the large view's keys and text colour, the popup's rows and their looks,
// and the display-change monitor's events.
#include "core/DisplayMode.h"
#include "core/Geometry.h"
#include "core/LargeViewKeys.h"
#include "core/PopupLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr KeyAction Stay{};
constexpr KeyAction Move(int16_t desk) {
    return {KeyActionKind::Move, desk};
}
constexpr KeyAction Pick(int16_t desk) {
    return {KeyActionKind::Pick, desk};
}

}  // namespace

TEST(LargeViewKey, EveryArrowAndEnterFromEveryFrame) {
    const struct {
        uint32_t key;
        KeyAction from[4];  // selection 1, 2, 3, 4
    } cases[] = {
        {13, {Pick(1), Pick(2), Pick(3), Pick(4)}},
        {37, {Stay, Move(1), Stay, Move(3)}},
        {38, {Stay, Stay, Move(1), Move(2)}},
        {39, {Move(2), Stay, Move(4), Stay}},
        {40, {Move(3), Move(4), Stay, Stay}},
    };
    for (const auto &c : cases) {
        for (int16_t s = 1; s <= 4; ++s)
            EXPECT_EQ(LargeViewKey(s, c.key), c.from[s - 1]) << "key " << c.key << " from " << s;
    }
}

TEST(LargeViewKey, OtherKeysAndSelectionsDoNothing) {
    // Escape, Tab, blank, Home, End, 'A', '1', the numeric pad's arrows (as digits), and Enter's neighbours.
    for (uint32_t key : {27u, 9u, 32u, 36u, 35u, 65u, 49u, 100u, 102u, 104u, 98u, 12u, 14u, 0u, 0x10025u}) {
        for (int16_t s = 1; s <= 4; ++s)
            EXPECT_EQ(LargeViewKey(s, key), Stay) << "key " << key << " from " << s;
    }
    for (int16_t s : {0, 5, -1})
        EXPECT_EQ(LargeViewKey(s, 13), Stay) << s;

    // Right then Down from the top-left frame reaches the bottom-right one.
    const KeyAction right = LargeViewKey(1, 39);
    EXPECT_EQ(LargeViewKey(right.desk, 40), Move(4));
}

TEST(NotVisitedText, NamesTheDesktopAndWhenItsPictureComes) {
    EXPECT_EQ(NotVisitedText("Mail"), "Mail\n\nIts picture appears here after you have been on this desktop once.");
    EXPECT_TRUE(NotVisitedText("").starts_with("\n\nIts picture"));
}

TEST(ReadableTextColour, TheSchemesColourUnlessItVanishesIntoTheBackground) {
    const struct {
        uint32_t background, text, shown;
    } cases[] = {
        {0xFFFFFF, 0x000000, 0x000000},  // the classic scheme: black on white
        {0x000000, 0x000000, 0xFFFFFF},  // today's: black caption text, black button text
        {0xFFFFFF, 0xFFFFFF, 0x000000},
        {0x000000, 0x808080, 0x808080},  // grey on black still reads
        {0x000000, 0x3C3C3C, 0xFFFFFF},
        {0xC0C0C0, 0xA0A0A0, 0x000000},  // light grey on silver
        {0x956F25, 0x000000, 0xFFFFFF},  // black on a dark blue (0x00BBGGRR)
        {0x0000FF, 0xFFFFFF, 0xFFFFFF},  // white on red
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadableTextColour(c.background, c.text), c.shown) << std::hex << c.background << " " << c.text;
}

namespace {

// A stand-in for the rows' font: every character 120 twips (8 pixels) wide; a name 345 twips high, an empty
// one 0 high.
TextSize FixedWidth(std::string_view text) {
    return {static_cast<int32_t>(text.size()) * 120, text.empty() ? 0 : 345};
}

}  // namespace

TEST(LayoutPopup, RowsAndWindowFromTheWidestName) {
    const PopupLayout layout = LayoutPopup({"Mail", "", "Web browsing", "Chat"}, FixedWidth);
    EXPECT_EQ(layout.widest, 2040);   // "  Web browsing   ": 17 characters
    EXPECT_EQ(layout.tallest, 345);
    EXPECT_EQ(layout.textTop, 52);    // 225 - 172.5 = 52.5, halves to even
    const int32_t tops[] = {50, 500, 950, 1400};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(layout.rows[i], (Box{50, tops[i % 4], 2955, 450})) << i;
    EXPECT_EQ(layout.width, 3055);
    EXPECT_EQ(layout.height, 1900);
    // At 96 DPI (15 twips a pixel): a 204 x 127 window, rows 197 x 30 from (3, 3), the badges from x = 136.
    EXPECT_EQ(PixelsFromTwips(layout.width, 96), 204);
    EXPECT_EQ(PixelsFromTwips(layout.height, 96), 127);
    EXPECT_EQ(PixelsFromTwips(layout.rows[6], 96), (Box{3, 63, 197, 30}));
    EXPECT_EQ(PixelsFromTwips(layout.widest, 96), 136);
    EXPECT_EQ(PixelsFromTwips(layout.textTop, 96), 3);
    // At 192 DPI everything doubles, the badge box too (122 x 60 around a badge bitmap of that size).
    EXPECT_EQ(PixelsFromTwips(layout.rows[6], 192), (Box{7, 127, 394, 60}));
    EXPECT_EQ(PixelsFromTwips(Box{0, 0, BadgeWidth, BadgeHeight}, 192), (Box{0, 0, 122, 60}));
}

TEST(LayoutPopup, NeverWiderThanTheScreenTheNamesGiveWay) {
    // 120 twips a character: "  " + 40 letters + "   " is 5160 twips, the screen 4000.
    const PopupLayout layout = LayoutPopup({std::string(40, 'x'), "a", "b", "c"}, FixedWidth, 4000);
    EXPECT_EQ(layout.width, 4000);
    EXPECT_EQ(layout.widest, 4000 - 915 - 100);
    EXPECT_EQ(layout.rows[0].width, 4000 - 100);
    // Within the limit the widest name decides as before; no limit (0) is the design's own rule.
    EXPECT_EQ(LayoutPopup({"Mail", "", "Web browsing", "Chat"}, FixedWidth, 4000).width, 3055);
    EXPECT_EQ(LayoutPopup({std::string(40, 'x'), "a", "b", "c"}, FixedWidth).widest, 45 * 120);
}

TEST(LayoutPopup, EmptyNamesStillGiveFiveBlanksAndTheBadge) {
    const PopupLayout layout = LayoutPopup({"", "", "", ""}, FixedWidth);
    EXPECT_EQ(layout.widest, 600);
    EXPECT_EQ(layout.rows[0].width, 600 + 915);
    EXPECT_EQ(layout.width, 600 + 915 + 100);
    EXPECT_EQ(layout.textTop, 225);
}

TEST(LayoutPopup, TextTopRoundsHalvesToEven) {
    const struct {
        int32_t height;
        int32_t textTop;
    } cases[] = {{345, 52}, {355, 48}, {346, 52}, {344, 53}, {450, 0}, {600, -75}, {601, -76}};
    for (const auto &c : cases) {
        const PopupLayout layout =
            LayoutPopup({"a", "b", "c", "d"}, [&](std::string_view) { return TextSize{120, c.height}; });
        EXPECT_EQ(layout.textTop, c.textTop) << c.height;
    }
}

TEST(LayoutPopup, TheTallestNameIsMeasuredAloneAndTheWidestWithItsBlanks) {
    std::vector<std::string> measured;
    const PopupLayout layout = LayoutPopup({"ab", "abcd", "a", "abc"}, [&](std::string_view text) {
        measured.emplace_back(text);
        return TextSize{static_cast<int32_t>(text.size()) * 100, static_cast<int32_t>(text.size()) * 10};
    });
    EXPECT_EQ(layout.widest, 900);  // "  abcd   "
    EXPECT_EQ(layout.tallest, 40);  // "abcd"
    const std::vector<std::string> expected = {"  ab   ", "ab", "  abcd   ", "abcd", "  a   ", "a", "  abc   ", "abc"};
    EXPECT_EQ(measured, expected);
    EXPECT_EQ(PopupRowText("abc"), " abc ");
    EXPECT_EQ(PopupRowText(""), "  ");
}

TEST(HoverRows, TheRowUnderThePointerShowsItsHighlightedLook) {
    const RowVisibility overRow2 = {false, true, false, false, true, false, true, true};
    EXPECT_EQ(HoverRows(NormalRows, 5), overRow2);
    // Over the highlighted box that is now seen, or an index that is no row box: nothing changes.
    EXPECT_EQ(HoverRows(overRow2, 1), overRow2);
    EXPECT_EQ(HoverRows(overRow2, 0), overRow2);
    EXPECT_EQ(HoverRows(overRow2, 8), overRow2);
    EXPECT_EQ(HoverRows(overRow2, -1), overRow2);
    const RowVisibility overRow4 = {false, false, false, true, true, true, true, false};
    EXPECT_EQ(HoverRows(overRow2, 7), overRow4);
    EXPECT_EQ(HoverRows(overRow4, 4), (RowVisibility{true, false, false, false, false, true, true, true}));
    const int16_t desktops[] = {1, 2, 3, 4, 1, 2, 3, 4};
    for (int16_t i = 0; i < 8; ++i)
        EXPECT_EQ(RowDesktop(i), desktops[i]) << i;
}

namespace {

// Writes down every event with the mode the monitor holds while it is raised.
class EventLog : public DisplayChangeEvents {
public:
    explicit EventLog(const DisplayMode &mode) : m_mode(mode) {}
    void MonitorDisplay_ColourDepthChange(int32_t lNew, int32_t lOld) override {
        lines.push_back("depth " + std::to_string(lNew) + " " + std::to_string(lOld) + Held());
    }
    void MonitorDisplay_WindowSizeChange(int32_t lNewWidth, int32_t lNewHeight, int32_t lOldWidth,
                                         int32_t lOldHeight) override {
        lines.push_back("size " + std::to_string(lNewWidth) + "x" + std::to_string(lNewHeight) + " " +
                        std::to_string(lOldWidth) + "x" + std::to_string(lOldHeight) + Held());
    }
    std::vector<std::string> lines;

private:
    std::string Held() const {
        return " holding " + std::to_string(m_mode.BitsPerPixel) + " " + std::to_string(m_mode.WidthPixels) + "x" +
               std::to_string(m_mode.HeightPixels);
    }
    const DisplayMode &m_mode;
};

constexpr uint32_t Size(uint32_t width, uint32_t height) {
    return width | height << 16;
}

}  // namespace

TEST(DisplayMode, EachChangeRaisesItsEventsWithTheNewModeAlreadyHeld) {
    const struct {
        const char *what;
        DisplayMode before;
        uint32_t wParam, lParam;
        DisplayMode after;
        std::vector<std::string> events;
    } cases[] = {
        {"resolution only", {32, 1024, 768}, 32, Size(1280, 1024), {32, 1280, 1024},
         {"size 1280x1024 1024x768 holding 32 1280x1024"}},
        {"width only", {32, 1024, 768}, 32, Size(1280, 768), {32, 1280, 768},
         {"size 1280x768 1024x768 holding 32 1280x768"}},
        {"height only", {32, 1024, 768}, 32, Size(1024, 600), {32, 1024, 600},
         {"size 1024x600 1024x768 holding 32 1024x600"}},
        {"depth only", {16, 1280, 1024}, 32, Size(1280, 1024), {32, 1280, 1024},
         {"depth 32 16 holding 32 1280x1024"}},
        {"both", {16, 1024, 768}, 32, Size(1280, 1024), {32, 1280, 1024},
         {"depth 32 16 holding 32 1024x768", "size 1280x1024 1024x768 holding 32 1280x1024"}},
        {"neither", {32, 1280, 1024}, 32, Size(1280, 1024), {32, 1280, 1024}, {}},
        {"top bit of the height dropped", {32, 1280, 1024}, 32, Size(1280, 1024) | 0x80000000u, {32, 1280, 1024},
         {}},
        {"from nothing known", {0, 0, 0}, 24, Size(800, 600), {24, 800, 600},
         {"depth 24 0 holding 24 0x0", "size 800x600 0x0 holding 24 800x600"}},
    };
    for (const auto &c : cases) {
        DisplayMode mode = c.before;
        EventLog log(mode);
        mode.Change(DisplayMode::Reported(c.wParam, c.lParam), log);
        EXPECT_EQ(mode, c.after) << c.what;
        EXPECT_EQ(log.lines, c.events) << c.what;
    }
}

TEST(DisplayMode, ReportedModeComesFromTheMessageWords) {
    EXPECT_EQ(DisplayMode::Reported(32, Size(1280, 1024)), (DisplayMode{32, 1280, 1024}));
    EXPECT_EQ(DisplayMode::Reported(8, 0xFFFFFFFFu), (DisplayMode{8, 0xFFFF, 0x7FFF}));
    EXPECT_EQ(DisplayMode::Reported(16, 0), (DisplayMode{16, 0, 0}));
}
