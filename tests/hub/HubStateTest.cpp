#include "core/HubState.h"
#include "core/RestartBudget.h"

#include <gtest/gtest.h>

TEST(DesktopState, HotKeysAfterStartUp) {
    DesktopState state;
    state.Started(1);
    EXPECT_EQ(state.CurrentDesktop(), 1);
    EXPECT_EQ(state.PreviousDesktop(), 0);
    const int16_t expected[] = {0, 0, 2, 3, 4, 0, 0};  // ids 0..6; previous-desktop key has nothing yet
    for (int32_t id = 0; id <= 6; ++id)
        EXPECT_EQ(state.HotKeyTarget(id), expected[id]) << "id " << id;

    // The switch back to desktop 1 refused: the state keeps the desktop still shown, and its keys act on it.
    state.Started(4);
    EXPECT_EQ(state.CurrentDesktop(), 4);
    EXPECT_EQ(state.HotKeyTarget(4), 0);
    EXPECT_EQ(state.HotKeyTarget(1), 1);
    EXPECT_TRUE(state.WantsSwitch(1));
}

TEST(DesktopState, PreviousDesktopFollowsPerformedSwitches) {
    DesktopState state;
    state.Started(1);
    state.Switched(3);
    state.Switched(2);
    EXPECT_EQ(state.CurrentDesktop(), 2);
    EXPECT_EQ(state.PreviousDesktop(), 3);
    EXPECT_EQ(state.HotKeyTarget(5), 3);
    EXPECT_EQ(state.HotKeyTarget(2), 0);
    state.Switched(3);
    EXPECT_EQ(state.HotKeyTarget(5), 2);
}

TEST(DesktopState, SwitchesToTheShownOrAnUnknownDesktopChangeNothing) {
    DesktopState state;
    state.Started(1);
    state.Switched(4);
    for (int16_t desk : {4, 0, 5, -1}) {
        EXPECT_FALSE(state.WantsSwitch(desk)) << desk;
        state.Switched(desk);
        EXPECT_EQ(state.CurrentDesktop(), 4);
        EXPECT_EQ(state.PreviousDesktop(), 1);
    }
    EXPECT_TRUE(state.WantsSwitch(1));
}

TEST(HotKeySettings, DefaultsAndStoredValues) {
    const HotKeySettings defaults;
    EXPECT_EQ(defaults.modifiers, 8);
    EXPECT_EQ(defaults.keys, (std::array<uint16_t, 5>{49, 50, 51, 52, 192}));
    EXPECT_EQ(ModifiersOrDefault(std::nullopt), 8);
    EXPECT_EQ(ModifiersOrDefault(0), 0);
    EXPECT_EQ(ModifiersOrDefault(15), 15);
    EXPECT_EQ(ModifiersOrDefault(16), 8);
    EXPECT_EQ(ModifiersOrDefault(-1), 8);
    EXPECT_EQ(KeyOrDefault(std::nullopt, 1), 49);
    EXPECT_EQ(KeyOrDefault(std::nullopt, 5), 192);
    EXPECT_EQ(KeyOrDefault(0x12340051, 2), 0x51);  // the low 16 bits, no range check
    EXPECT_EQ(KeyOrDefault(-1, 3), 0xFFFF);
}

TEST(DesktopPrograms, AShellIsTheShellProgramButNotTheDesktopsOwnProcess) {
    const std::wstring explorer = L"C:\\Windows\\explorer.exe";
    EXPECT_TRUE(IsShellProcess(L"C:\\Windows\\explorer.exe", explorer, false));
    EXPECT_TRUE(IsShellProcess(L"c:\\WINDOWS\\Explorer.EXE", explorer, false));
    EXPECT_FALSE(IsShellProcess(L"C:\\Windows\\explorer.exe", explorer, true));  // Wine's desktop process
    EXPECT_TRUE(IsShellProcess(L"C:\\Windows\\System32\\explorer.exe", explorer, false));  // Wine names it so
    EXPECT_FALSE(IsShellProcess(L"C:\\Windows\\explorer.exe.bak", explorer, false));
    EXPECT_FALSE(IsShellProcess(L"C:\\V\\Tavik2.exe", explorer, false));
    EXPECT_FALSE(IsShellProcess(L"C:\\V\\notexplorer.exe", explorer, false));
    EXPECT_FALSE(IsShellProcess(L"\\explorer.exe", L"", false));
}

TEST(RestartBudget, ThreeRestartsInAMinuteThenTheProgramIsLeftForGood) {
    // Deaths (ms) and whether each may restart: the fourth within a minute of the first is refused.
    const struct {
        uint64_t at;
        bool allowed;
    } deaths[] = {{1000, true}, {2000, true}, {60999, true}, {61000, true}, {61001, false}, {500000, false}};
    RestartBudget budget;
    for (const auto &death : deaths) {
        EXPECT_EQ(budget.Allow(death.at), death.allowed) << death.at;
        EXPECT_EQ(budget.Exhausted(), !death.allowed) << death.at;
    }
}

TEST(RestartBudget, RestartsOlderThanAMinuteNoLongerCount) {
    RestartBudget budget;
    for (uint64_t at : {0u, 30000u, 59999u, 60000u, 90000u, 119999u, 120000u})
        EXPECT_TRUE(budget.Allow(at)) << at;
    EXPECT_FALSE(budget.Allow(120001));
}
