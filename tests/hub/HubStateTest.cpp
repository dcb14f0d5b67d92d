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
    RestartBudget spread;
    for (uint64_t at : {0u, 30000u, 59999u, 60000u, 90000u, 119999u, 120000u})
        EXPECT_TRUE(spread.Allow(at)) << at;
    EXPECT_FALSE(spread.Allow(120001));
    RestartBudget quick;
    for (uint64_t at : {1000u, 2000u, 3000u})
        EXPECT_TRUE(quick.Allow(at)) << at;
    EXPECT_FALSE(quick.Allow(4000));
    EXPECT_FALSE(quick.Allow(500000)) << "once refused, always refused";
    EXPECT_TRUE(quick.Exhausted());
}
