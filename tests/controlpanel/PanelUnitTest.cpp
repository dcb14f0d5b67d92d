// The tab strip without a window: which press selects which tab, and which tabs get a separator.
#include "TabStrip.h"

#include <gtest/gtest.h>

TEST(TabStrip, APressBetweenTwoLeftEdgesSelectsItsTabAndOnlyTabsAwayFromTheSelectedOneHaveASeparator) {
    TabStrip strip;
    strip.look.SpacingSides = 10;
    for (const char *caption : {"A", "B", "C", "D"})
        strip.AddItem(caption);
    const auto ops = strip.reDraw(1, {{40, 25, 61, 40}, 13, 497, 25});  // lefts 10, 108, 191, 310; ends 408
    ASSERT_TRUE(ops.has_value());
    const std::pair<int, std::optional<int16_t>> presses[] = {
        {10, std::nullopt}, {11, 0}, {107, 0}, {108, std::nullopt}, {109, 1}, {311, 3}, {407, 3}, {408, std::nullopt}};
    for (const auto &[x, tab] : presses)
        EXPECT_EQ(strip.HitTest(x), tab) << "x " << x;
    // Neither the first tab nor the one right of the selected tab has one.
    std::vector<int> separators;
    for (const DrawOp &op : *ops)
        if (op.kind == DrawKind::Line && op.color == strip.look.BorderColor && op.x == op.toX)
            separators.push_back(op.x);
    EXPECT_EQ(separators, std::vector<int>{310});
    EXPECT_EQ(ops->back().kind, DrawKind::Caption) << "the selected tab is drawn last, over the others";
    EXPECT_EQ(ops->back().caption, 1);
}
