// The control panel's rules without Windows: the tab strip's presses and separators, what a hot-key row says,
// the keys shown before a first start, and the windows a Shutdown or an uninstall would leave out of reach.
#include "LeftWindows.h"
#include "PanelRules.h"
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

// A key the panel cannot register is Varnel's only when the running hub says it holds that combination; WIN with
// a digit is Windows' taskbar key; anything else another program's.
TEST(HotKeyRows, AFailedTrialIsVarnelsOnlyForACombinationTheRunningHubHolds) {
    constexpr uint16_t F1 = 0x70, F3 = 0x72, F5 = 0x74, F6 = 0x75;
    const HotKeySet stored{ModCtrl | ModAlt, {F1, 0x71, F3, 0x73, F5}};
    const HubHotKeys hub{true, 0b10011, stored};  // Windows refused ids 3 and 4
    const HubHotKeys gone{false, 0b11111, stored};
    const HubHotKeys refusedAll{true, 0, DefaultHotKeySet};
    struct Row {
        bool registered;
        int32_t modifiers;
        uint16_t key;
        const HubHotKeys &hub;
        HotKeyState expected;
    };
    const Row rows[] = {
        {true, ModCtrl | ModAlt, F1, hub, HotKeyState::Free},
        {false, ModCtrl | ModAlt, F1, hub, HotKeyState::Varnels},
        {false, ModCtrl | ModAlt, F5, hub, HotKeyState::Varnels},
        {false, ModCtrl | ModAlt, F3, hub, HotKeyState::Taken},
        {false, ModAlt, F1, hub, HotKeyState::Taken},
        {false, ModCtrl | ModAlt, F6, hub, HotKeyState::Taken},
        {false, ModCtrl | ModAlt, F1, gone, HotKeyState::Taken},
        {false, ModWin, '1', refusedAll, HotKeyState::Windows},
        {false, ModWin | ModShift, '0', hub, HotKeyState::Windows},
        {false, ModWin | ModAlt | ModCtrl, '9', hub, HotKeyState::Windows},
        {false, ModWin, 192, refusedAll, HotKeyState::Taken},
        {false, ModCtrl | ModAlt, '1', hub, HotKeyState::Taken},
    };
    for (const Row &row : rows)
        EXPECT_EQ(TriedStatus(row.registered, row.modifiers, row.key, row.hub).state, row.expected)
            << row.modifiers << " + " << row.key;
    EXPECT_EQ(HotKeyStatusText({HotKeyState::Windows, 0}), "Windows' taskbar key");
}

TEST(HotKeyRows, WithoutStoredKeysTheFormShowsTheFirstSetWindowsGrantsWholeOrTheRunningHubsDefault) {
    std::vector<HotKeySet> tried;
    const auto refusingWin1 = [&](const HotKeySet &set) {
        tried.push_back(set);
        return !(set.modifiers & ModWin && set.keys[0] == '1');
    };
    EXPECT_EQ(FirstStartSetShown(false, refusingWin1), (HotKeySet{ModCtrl | ModAlt, {0x70, 0x71, 0x72, 0x73, 0x74}}));
    EXPECT_EQ(tried.size(), 2u);
    EXPECT_EQ(FirstStartSetShown(false, [](const HotKeySet &) { return false; }), DefaultHotKeySet);
    tried.clear();
    EXPECT_EQ(FirstStartSetShown(true, refusingWin1), DefaultHotKeySet) << "a hub that took another set stores it";
    EXPECT_TRUE(tried.empty());
    PanelSettings settings;
    SetHotKeys(settings, FirstStartHotKeySets()[1]);
    EXPECT_EQ(HotKeysOf(settings), FirstStartHotKeySets()[1]);
    EXPECT_EQ(settings.deskKeys[3], 0x73);
}

TEST(LeftWindows, OnlyTheUsersShownWindowsAreNamedByTitleAndDesktopAndTheQuestionCountsWhatItDoesNotList) {
    const std::wstring notepad = L"C:\\windows\\system32\\notepad.exe";
    const std::pair<TopWindow, bool> windows[] = {
        {{L"Untitled - Notepad", notepad, true, false, false}, true},
        {{L"Untitled - Notepad", notepad, false, false, false}, false},
        {{L"Find", notepad, true, true, false}, false},
        {{L"Palette", notepad, true, false, true}, false},
        {{L"", L"C:\\windows\\EXPLORER.EXE", true, false, false}, false},
        {{L"Desktop 3", L"C:\\Program Files\\Varnel\\tavik3.exe", true, false, false}, false},
        {{L"Varnel", L"D:\\Varnel\\varnelerror.exe", true, false, false}, false},
        {{L"Elevated", L"", true, false, false}, true},
        {{L"Game", L"C:\\Games\\MyVarnel.exe", true, false, false}, true},
    };
    for (const auto &[window, counts] : windows)
        EXPECT_EQ(IsUsersWindow(window), counts) << window.imagePath;

    EXPECT_EQ(DesktopObjectName(3), L"desk3");
    EXPECT_EQ(LeftWindowLine(windows[0].first, DeskDisplayName(3, std::nullopt)), L"Untitled - Notepad (Desktop 3)");
    EXPECT_EQ(LeftWindowLine({L"", notepad, true}, DeskDisplayName(4, L"")), L"notepad.exe (Desktop 4)");
    const std::wstring cut(46, L'a');
    EXPECT_EQ(LeftWindowLine({cut + L"bcdef", notepad, true}, DeskDisplayName(2, L"Mail")), cut + L"bc... (Mail)");
    // A character outside the BMP at the cut goes whole.
    EXPECT_EQ(LeftWindowLine({cut + L"b\xD83D\xDE00"
                                    L"x",
                              notepad, true},
                             L"Mail"),
              cut + L"b... (Mail)");

    EXPECT_EQ(ShutdownQuestion({}), L"");
    EXPECT_EQ(ShutdownQuestion({L"Untitled - Notepad (Desktop 3)"}),
              L"These windows are open on Varnel's other desktops:\n\n\u2022 Untitled - Notepad (Desktop 3)\n\n"
              L"After Shutdown they cannot be reached until Varnel starts again. Choose OK to shut Varnel down "
              L"anyway, or Cancel to keep it running.");
    const std::wstring longest = std::wstring(48, L'w') + L"... (" + std::wstring(DeskNameMaxLength, L'n') + L")";
    const std::wstring many = UninstallQuestion(std::vector<std::wstring>(120, longest));
    EXPECT_LT(many.size(), 1024u) << "NSIS cuts a longer text";
    EXPECT_NE(many.find(longest + L"\nand 112 more\n\nOnce Varnel is removed"), std::wstring::npos);
}
