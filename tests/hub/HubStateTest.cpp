// The hub's decisions that Wine cannot provoke: a refused first switch, and restarts spread over minutes.
#include "core/HubState.h"
#include "core/RestartBudget.h"

#include <gtest/gtest.h>

TEST(DesktopState, AStartWhoseSwitchToDesktopOneWasRefusedKeepsTheDesktopShown) {
    DesktopState state;
    state.Started(4);
    EXPECT_EQ(state.CurrentDesktop(), 4);
    EXPECT_EQ(state.HotKeyTarget(4), 0);
    EXPECT_TRUE(state.WantsSwitch(1));
}

TEST(RestartBudget, ThreeRestartsWithinAnyMinuteThenTheProgramIsLeftForGood) {
    RestartBudget budget;
    for (uint64_t at : {0u, 30000u, 59999u, 60000u, 90000u, 119999u, 120000u})
        EXPECT_TRUE(budget.Allow(at)) << at;
    EXPECT_FALSE(budget.Allow(120001));
    EXPECT_FALSE(budget.Allow(500000)) << "once refused, always refused";
    EXPECT_TRUE(budget.Exhausted());
}
