// The tab strip's geometry, hit testing and drawing list, without a window.
#include "TabStrip.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kHeight = 25;
constexpr int kTextHeight = 13;

TabStrip Strip(std::vector<std::string> captions, int32_t style, int16_t sides) {
    TabStrip strip;
    strip.look.Style = style;
    strip.look.SpacingSides = sides;
    for (auto &caption : captions)
        strip.AddItem(caption);
    return strip;
}

TabMetrics Metrics(std::vector<int> widths) {
    return {std::move(widths), kTextHeight, 497, kHeight};
}

std::vector<DrawOp> Draw(TabStrip &strip, int16_t index, std::vector<int> widths) {
    auto ops = strip.reDraw(index, Metrics(std::move(widths)));
    return ops ? *ops : std::vector<DrawOp>{};
}

// The x of every vertical separator line drawn in the unselected border colour.
std::vector<int> SeparatorXs(const std::vector<DrawOp> &ops, const TabLook &look) {
    std::vector<int> xs;
    for (const DrawOp &op : ops)
        if (op.kind == DrawKind::Line && op.color == look.BorderColor && op.x == op.toX)
            xs.push_back(op.x);
    return xs;
}

std::vector<DrawOp> OfKind(const std::vector<DrawOp> &ops, DrawKind kind) {
    std::vector<DrawOp> found;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(found), [kind](const DrawOp &op) { return op.kind == kind; });
    return found;
}

}  // namespace

TEST(TabStripGeometry, LeftsAndSpansForEachStyleAndSpacing) {
    const struct {
        int32_t style;
        int16_t sides;
        std::vector<int16_t> lefts;
        std::vector<int16_t> spans;
    } cases[] = {
        {0, 10, {10, 108, 191}, {98, 83, 119}},
        {0, 5, {5, 83, 146}, {78, 63, 99}},
        {0, 0, {0, 58, 101}, {58, 43, 79}},
        {1, 10, {10, 90, 155}, {98, 83, 119}},
        {1, 5, {5, 65, 110}, {78, 63, 99}},
        {2, 10, {10, 10, 10}, {98, 83, 119}},  // other styles do not advance
    };
    for (const auto &c : cases) {
        TabStrip strip = Strip({"General", "Keys", "Custom names"}, c.style, c.sides);
        Draw(strip, 0, {40, 25, 61});
        EXPECT_EQ(strip.TabLefts(), c.lefts) << "style " << c.style << " spacing " << c.sides;
        EXPECT_EQ(strip.TabSpans(), c.spans) << "style " << c.style << " spacing " << c.sides;
    }
}

TEST(TabStripGeometry, TextWidth40WithSpacing10GivesWidth60AndTheNextTab98PixelsOn) {
    TabStrip strip = Strip({"A", "B"}, 0, 10);
    const auto ops = Draw(strip, 0, {40, 40});
    EXPECT_EQ(strip.TabLefts()[1] - strip.TabLefts()[0], 98);
    // The selected tab's top line runs w + 2S from x + 4.
    const auto top = std::find_if(ops.begin(), ops.end(), [](const DrawOp &op) {
        return op.kind == DrawKind::Line && op.y == 4 && op.toY == 4 && op.color == 0;
    });
    ASSERT_NE(top, ops.end());
    EXPECT_EQ(top->x, 14);
    EXPECT_EQ(top->toX - top->x, 60 + 20);
}

TEST(TabStripGeometry, RelayoutReplacesEntriesInPlace) {
    TabStrip strip = Strip({"A", "B"}, 0, 10);
    Draw(strip, 0, {40, 40});
    ASSERT_TRUE(strip.SetList(0, "Longer"));
    Draw(strip, 0, {70, 40});
    EXPECT_EQ(strip.TabLefts(), (std::vector<int16_t>{10, 138}));
    EXPECT_EQ(strip.TabSpans(), (std::vector<int16_t>{128, 98}));
}

TEST(TabStripGeometry, AnOverflowingWidthEndsTheRepaintWithoutTheSelectedTab) {
    TabStrip strip = Strip({"A", "B", "C"}, 0, 10);
    const auto ops = Draw(strip, 0, {40, 32750, 40});
    EXPECT_EQ(strip.TabLefts(), (std::vector<int16_t>{10}));
    EXPECT_TRUE(OfKind(ops, DrawKind::Fill).empty());
    EXPECT_EQ(strip.ListIndex(), 0);
}

TEST(TabStripHitTest, StrictRangesPerTab) {
    TabStrip strip = Strip({"General", "Keys", "Custom names"}, 0, 10);
    Draw(strip, 0, {40, 25, 61});  // lefts 10, 108, 191; last span 119
    const struct {
        int x;
        std::optional<int16_t> hit;
    } cases[] = {
        {-5, std::nullopt}, {0, std::nullopt}, {10, std::nullopt}, {11, 0},  {107, 0},
        {108, std::nullopt}, {109, 1},         {190, 1},            {191, std::nullopt},
        {192, 2},           {309, 2},          {310, std::nullopt}, {496, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(strip.HitTest(c.x), c.hit) << "x " << c.x;
}

TEST(TabStripHitTest, SingleCaptionEmptyStripAndStylesThatDoNotAdvance) {
    TabStrip single = Strip({"Only"}, 0, 10);
    Draw(single, 0, {40});
    EXPECT_EQ(single.HitTest(50), std::nullopt);

    TabStrip empty;
    EXPECT_EQ(empty.HitTest(50), std::nullopt);

    // All lefts equal: only the last tab's own range can be hit.
    TabStrip flat = Strip({"A", "B", "C"}, 2, 10);
    Draw(flat, 0, {40, 25, 61});
    EXPECT_EQ(flat.HitTest(50), 2);
    EXPECT_EQ(flat.HitTest(10), std::nullopt);
    EXPECT_EQ(flat.HitTest(129), std::nullopt);
}

TEST(TabStripItems, EmptyStripIgnoresRedrawAndCaptionsAreReplacedInPlace) {
    TabStrip strip;
    EXPECT_FALSE(strip.reDraw(2, Metrics({})).has_value());
    EXPECT_EQ(strip.ListIndex(), 0);
    EXPECT_TRUE(strip.TabLefts().empty());

    strip.AddItem("General");
    strip.AddItem("Shortcut keys");
    strip.AddItem("Custom desktop names");
    EXPECT_TRUE(strip.SetList(1, "Keys"));
    EXPECT_FALSE(strip.SetList(3, "Past the end"));
    EXPECT_FALSE(strip.SetList(-1, "Before the start"));
    EXPECT_EQ(strip.Items(), (std::vector<std::string>{"General", "Keys", "Custom desktop names"}));
    EXPECT_EQ(strip.List(2), "Custom desktop names");
    EXPECT_EQ(strip.List(3), "");
    EXPECT_EQ(strip.ListCount(), 3);
    EXPECT_TRUE(strip.reDraw(2, Metrics({40, 25, 61})).has_value());
    EXPECT_EQ(strip.ListIndex(), 2);
}

TEST(TabStripDrawing, SeparatorsSkipTheFirstTabAndTheOneRightOfTheSelected) {
    const struct {
        int16_t selected;
        std::vector<int> separators;  // lefts are 10, 108, 191, 310
    } cases[] = {
        {0, {191, 310}},
        {1, {310}},
        {2, {108}},
        {3, {108, 191}},
    };
    for (const auto &c : cases) {
        TabStrip strip = Strip({"A", "B", "C", "D"}, 0, 10);
        const auto ops = Draw(strip, c.selected, {40, 25, 61, 40});
        EXPECT_EQ(SeparatorXs(ops, strip.look), c.separators) << "selected " << c.selected;
    }
}

TEST(TabStripDrawing, BackgroundFirstSelectedTabLastWithItsGapInTheBaseLine) {
    TabStrip strip = Strip({"A", "B", "C"}, 0, 10);
    const auto ops = Draw(strip, 1, {40, 25, 61});
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[0], (DrawOp{.kind = DrawKind::Clear, .color = strip.look.BackColor}));
    EXPECT_EQ(ops[1], (DrawOp{.kind = DrawKind::Line, .color = 0, .x = 0, .y = 24, .toX = 497, .toY = 24}));
    // Tab 1 at x 108 with w 45: the fill, then the base line opened from x to x + 16 + w + 2S.
    const auto fills = OfKind(ops, DrawKind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0], (DrawOp{.kind = DrawKind::Fill, .color = strip.look.BackColorSelected, .x = 110, .y = 23}));
    const auto gap = std::find(ops.begin(), ops.end(),
                               DrawOp{.kind = DrawKind::Line, .color = strip.look.BackColorSelected, .x = 108,
                                      .y = 24, .toX = 189, .toY = 24});
    EXPECT_NE(gap, ops.end());
    const auto arcs = OfKind(ops, DrawKind::Arc);
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[0].x, 112);
    EXPECT_EQ(arcs[1].x, 175);
    EXPECT_EQ(ops.back().kind, DrawKind::Caption);
    EXPECT_EQ(ops.back().caption, 1);
    EXPECT_EQ(ops.back().color, strip.look.ForeColorSelected);
}

TEST(TabStripDrawing, CaptionsCentredAboveTheBottomMarginInTheirColours) {
    TabStrip strip = Strip({"A", "B", "C"}, 0, 10);
    const auto captions = OfKind(Draw(strip, 2, {40, 25, 61}), DrawKind::Caption);
    ASSERT_EQ(captions.size(), 3u);
    const struct {
        int16_t caption;
        int x;
        uint32_t color;
    } expected[] = {{0, 33, 0xFFFFFF}, {1, 131, 0xFFFFFF}, {2, 214, 0}};
    for (size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(captions[i].caption, expected[i].caption);
        EXPECT_EQ(captions[i].x, expected[i].x) << "caption " << i;
        EXPECT_EQ(captions[i].y, kHeight - 3 - kTextHeight);
        EXPECT_EQ(captions[i].color, expected[i].color);
    }
}

TEST(TabStripDrawing, AnIndexWithoutCaptionDrawsTheSelectedShapeAtZeroWithCaptionZero) {
    TabStrip strip = Strip({"A", "B", "C"}, 0, 10);
    const auto ops = Draw(strip, 7, {40, 25, 61});
    EXPECT_EQ(strip.ListIndex(), 7);
    const auto captions = OfKind(ops, DrawKind::Caption);
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(captions.back().caption, 0);
    EXPECT_EQ(captions.back().x, -7);  // (0 + 0 + 6 + 20 - 40) / 2
    EXPECT_EQ(OfKind(ops, DrawKind::Fill)[0].x, 2);
}

TEST(TabStripDrawing, TrapezoidsFillUnselectedTabsNormalAndTheSelectedOneSelected) {
    TabStrip strip = Strip({"A", "B", "C"}, 1, 10);
    strip.look.BackColorNormal = 0x112233;
    const auto fills = OfKind(Draw(strip, 1, {40, 25, 61}), DrawKind::Fill);
    // Lefts 10, 90, 155; the selected tab (w 45) is filled from x + w - 2.
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0], (DrawOp{.kind = DrawKind::Fill, .color = 0x112233, .x = 12, .y = 23}));
    EXPECT_EQ(fills[1], (DrawOp{.kind = DrawKind::Fill, .color = 0x112233, .x = 157, .y = 23}));
    EXPECT_EQ(fills[2], (DrawOp{.kind = DrawKind::Fill, .color = strip.look.BackColorSelected, .x = 133, .y = 23}));
}

TEST(TabStripDrawing, OtherStylesDrawOnlyTheBaseLineAndCaptions) {
    TabStrip strip = Strip({"A", "B"}, 7, 10);
    const auto ops = Draw(strip, 0, {40, 25});
    EXPECT_EQ(OfKind(ops, DrawKind::Line).size(), 1u);
    EXPECT_TRUE(OfKind(ops, DrawKind::Fill).empty());
    EXPECT_TRUE(OfKind(ops, DrawKind::Arc).empty());
    EXPECT_EQ(OfKind(ops, DrawKind::Caption).size(), 2u);
}
