// The hub's decisions that Wine cannot provoke: a refused first switch, restarts spread over minutes, which
// first-start set is taken whatever Windows holds, and an elevated start.
#include "core/HubState.h"
#include "core/RestartBudget.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(FirstStart, TheFirstSetWindowsGrantsWholeIsTakenAndItsReportNamesTheKeysAndTheRefusedOnes) {
    // Windows as a set of combinations other programs hold: {modifiers, virtual key}.
    std::vector<std::pair<int32_t, uint16_t>> held;
    std::vector<HotKeySet> tried;
    const auto tryWhole = [&](const HotKeySet &set) {
        tried.push_back(set);
        std::vector<int32_t> refused;
        for (int32_t id = 1; id <= HotKeyCount; ++id) {
            if (std::ranges::count(held, std::pair(set.modifiers, set.keys[static_cast<size_t>(id - 1)])) > 0)
                refused.push_back(id);
        }
        return refused;
    };
    const HotKeySet ctrlAltF{3, {0x70, 0x71, 0x72, 0x73, 0x74}}, shiftAltDigits{5, {49, 50, 51, 52, 192}};

    FirstStartChoice choice = ChooseFirstStartSet(tryWhole);
    EXPECT_EQ(choice.taken, 0u);
    EXPECT_EQ(tried, std::vector<HotKeySet>{DefaultHotKeySet});

    held = {{8, '1'}, {8, 192}};  // the taskbar's WIN + 1, a terminal's WIN + `
    tried.clear();
    choice = ChooseFirstStartSet(tryWhole);
    EXPECT_EQ(choice.taken, 1u);
    EXPECT_EQ(choice.refusedDefaultIds, (std::vector<int32_t>{1, 5}));
    EXPECT_EQ(tried, (std::vector<HotKeySet>{DefaultHotKeySet, ctrlAltF}));

    held.push_back({3, 0x72});  // one key of a set is as bad as all
    EXPECT_EQ(ChooseFirstStartSet(tryWhole).taken, 2u);
    EXPECT_EQ(FirstStartHotKeySets()[2], shiftAltDigits);

    held.push_back({5, '4'});
    held.push_back({7, 0x74});
    choice = ChooseFirstStartSet(tryWhole);
    EXPECT_EQ(choice.taken, std::nullopt);
    EXPECT_EQ(choice.refusedDefaultIds, (std::vector<int32_t>{1, 5}));

    EXPECT_EQ(FirstStartReportText("CTRL + ALT", {"F1", "F2", "F3", "F4", "F5"}, {"WIN + 1", "WIN + `"}),
              "CTRL + ALT|F1|F2|F3|F4|F5|WIN + 1|WIN + `");
}

TEST(StartRules, AnElevatedHubEndsOnlyWhileUacIsOnAndAHubAwayFromDefaultStartsAgainThere) {
    // TOKEN_ELEVATION_TYPE: 1 no split token (UAC off, or a standard user), 2 elevated, 3 the limited half.
    EXPECT_TRUE(RefusesElevatedStart(2, 1u));
    EXPECT_TRUE(RefusesElevatedStart(2, std::nullopt)) << "Windows' default: on";
    EXPECT_FALSE(RefusesElevatedStart(2, 0u)) << "as Wine answers for every process";
    EXPECT_FALSE(RefusesElevatedStart(1, 1u));
    EXPECT_FALSE(RefusesElevatedStart(3, 1u));

    for (const wchar_t *away : {L"desk2", L"Winlogon", L"Defaults"})
        EXPECT_TRUE(StartsAgainOnDesktopOne(away)) << away;
    for (const wchar_t *home : {L"Default", L"DEFAULT", L""})
        EXPECT_FALSE(StartsAgainOnDesktopOne(home)) << home;
}
