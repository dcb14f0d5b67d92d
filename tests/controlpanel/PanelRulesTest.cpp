// The control panel's settings rules: how stored values become the form's state, and what a save writes.
#include "PanelRules.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PanelRulesRead, StoredModifiersOutsideZeroToFifteenMeanWin) {
    const struct {
        std::optional<int32_t> stored;
        int16_t expected;
    } cases[] = {{std::nullopt, 8}, {-1, 8}, {16, 8}, {INT_MAX, 8}, {INT_MIN, 8}, {0x10001, 8},
                 {0, 0},            {1, 1},  {15, 15}, {5, 5}};
    for (const auto &c : cases)
        EXPECT_EQ(ModifiersFromStore(c.stored), c.expected) << (c.stored ? *c.stored : -999);
}

TEST(PanelRulesRead, KeysKeepTheirLow16BitsAndTransparencyIsOnUnlessZero) {
    EXPECT_EQ(KeyFromStore(std::nullopt, 192), 192);
    EXPECT_EQ(KeyFromStore(65, 49), 65);
    EXPECT_EQ(KeyFromStore(0x10033, 49), 0x33);
    EXPECT_EQ(KeyFromStore(0xFFFF, 49), -1);
    EXPECT_EQ(KeyFromStore(-1, 49), -1);
    EXPECT_EQ(KeyFromStore(0, 49), 0);

    EXPECT_TRUE(TransparencyFromStore(std::nullopt));
    EXPECT_FALSE(TransparencyFromStore(0));
    EXPECT_TRUE(TransparencyFromStore(1));
    EXPECT_TRUE(TransparencyFromStore(5));
    EXPECT_TRUE(TransparencyFromStore(-1));
}

TEST(PanelRulesRead, ModifierBoxesMatchTheBitsBothWays) {
    EXPECT_EQ(BoxesFromModifiers(8), (ModifierBoxes{.win = true}));
    EXPECT_EQ(BoxesFromModifiers(0), ModifierBoxes{});
    EXPECT_EQ(BoxesFromModifiers(1), (ModifierBoxes{.alt = true}));
    EXPECT_EQ(BoxesFromModifiers(2), (ModifierBoxes{.ctrl = true}));
    EXPECT_EQ(BoxesFromModifiers(4), (ModifierBoxes{.shift = true}));
    for (int16_t bits = 0; bits <= 15; ++bits)
        EXPECT_EQ(ModifiersFromBoxes(BoxesFromModifiers(bits)), bits);
}

TEST(PanelRulesSave, EveryValueInOrderWithItsFailureText) {
    PanelSettings settings;
    settings.transparency = false;
    settings.autoStart = true;
    settings.deskNames = {"Mail", "", "%TEMP% stays", "Desktop 4"};
    settings.modifiers = 0;
    settings.deskKeys = {27, 50, 51, 52};
    settings.previousKey = -1;
    const std::string key = "Software\\Varnel";
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string write = "ControlPanel: Unable to write value ";
    const std::string to = " to registry key HKEY_CURRENT_USER\\Software\\Varnel (";
    using A = SaveStep::Action;
    const std::vector<SaveStep> expected = {
        {A::WriteNumber, key, "GUItransparency", 0, write + "GUItransparency" + to},
        {A::WriteText, run, "Varnel", std::string("\"C:\\x y\\Varnel.exe\""),
         "ControlPanel: Unable to set registry value in "
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run ("},
        {A::WriteText, key, "Desktop1Name", std::string("Mail"), write + "Desktop1Name" + to},
        {A::WriteText, key, "Desktop2Name", std::string(""), write + "Desktop2Name" + to},
        {A::WriteText, key, "Desktop3Name", std::string("%TEMP% stays"), write + "Desktop3Name" + to},
        {A::WriteText, key, "Desktop4Name", std::string("Desktop 4"), write + "Desktop4Name" + to},
        {A::WriteNumber, key, "ShortcutKeyModifiers", 0, write + "ShortcutKeyModifiers" + to},
        {A::WriteNumber, key, "ShortcutKeyDesktop1", 27, write + "ShortcutKeyDesktop1" + to},
        {A::WriteNumber, key, "ShortcutKeyDesktop2", 50, write + "ShortcutKeyDesktop2" + to},
        {A::WriteNumber, key, "ShortcutKeyDesktop3", 51, write + "ShortcutKeyDesktop3" + to},
        {A::WriteNumber, key, "ShortcutKeyDesktop4", 52, write + "ShortcutKeyDesktop4" + to},
        {A::WriteNumber, key, "ShortcutKeyPreviousDesktop", -1, write + "ShortcutKeyPreviousDesktop" + to},
    };
    EXPECT_EQ(SaveSteps(settings, "\"C:\\x y\\Varnel.exe\"", false), expected);
}

TEST(PanelRulesSave, UntickedAutostartDeletesOnlyAnExistingRunValue) {
    const PanelSettings settings;
    const auto withValue = SaveSteps(settings, "unused", true);
    ASSERT_EQ(withValue.size(), 12u);
    EXPECT_EQ(withValue[1].action, SaveStep::Action::Delete);
    EXPECT_EQ(withValue[1].name, "Varnel");
    EXPECT_EQ(withValue[1].failure, "ControlPanel: Unable to delete registry value in "
                                    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run (");
    const auto without = SaveSteps(settings, "unused", false);
    ASSERT_EQ(without.size(), 11u);
    EXPECT_EQ(without[1].name, "Desktop1Name");
}

TEST(PanelRulesCommands, HubPathIsQuotedAndOnlyDesktopOneQualifies) {
    EXPECT_EQ(QuotedPath(HubPath(L"C:\\Program Files\\Varnel")), L"\"C:\\Program Files\\Varnel\\Varnel.exe\"");
    EXPECT_TRUE(IsDesktopOne(L"Default"));
    EXPECT_TRUE(IsDesktopOne(L"default"));
    for (const wchar_t *name : {L"DEFAULT", L"DeFault", L"Default ", L"desk2", L"", L"WinSta0\\Default"})
        EXPECT_FALSE(IsDesktopOne(name));

    const wchar_t buffer[] = {L'D', L'e', L'f', L'a', L'u', L'l', L't', 0, L'x', L'y'};
    EXPECT_EQ(DesktopNameFromBuffer(buffer, 10), L"Default");
    EXPECT_EQ(DesktopNameFromBuffer(buffer, 4), L"Defa");
}

TEST(PanelRulesDialog, PromptNamesTheRowAndStopsShortForOtherNumbers) {
    const std::string start = "Press a key on the keyboard to record the shortcut key for switching to ";
    EXPECT_EQ(RecordPrompt(1), start + "Desktop 1.");
    EXPECT_EQ(RecordPrompt(4), start + "Desktop 4.");
    EXPECT_EQ(RecordPrompt(5), start + "the previous desktop.");
    EXPECT_EQ(RecordPrompt(0), start);
    EXPECT_EQ(RecordPrompt(6), start);
}

TEST(PanelRulesKeyboard, CtrlTabGoesRoundTheArrowsStopAtTheEnds) {
    const struct {
        int16_t page, step;
        bool wrap;
        int16_t next;
    } cases[] = {{0, 1, true, 1}, {2, 1, true, 0}, {0, -1, true, 2}, {1, -1, true, 0},
                 {2, 1, false, 2}, {0, -1, false, 0}, {1, 1, false, 2}, {1, -1, false, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(NextPage(c.page, c.step, 3, c.wrap), c.next) << c.page << " " << c.step << " " << c.wrap;
    EXPECT_EQ(NextPage(0, 1, 0, true), 0);
}

TEST(PanelRulesHotKeys, TheFirstOtherRowWithTheKeyThenWhatTheTrialSays) {
    const std::array<int16_t, 5> keys = {49, 50, 49, 52, 50};
    EXPECT_EQ(SameKeyRow(keys, 1), std::optional<int16_t>(3));
    EXPECT_EQ(SameKeyRow(keys, 3), std::optional<int16_t>(1));
    EXPECT_EQ(SameKeyRow(keys, 2), std::optional<int16_t>(5));
    EXPECT_EQ(SameKeyRow(keys, 5), std::optional<int16_t>(2));
    EXPECT_EQ(SameKeyRow(keys, 4), std::nullopt);
    EXPECT_EQ(SameKeyRow(keys, 0), std::nullopt);
    EXPECT_EQ(TriedStatus(true, true), (HotKeyStatus{HotKeyState::Free, 0}));
    EXPECT_EQ(TriedStatus(false, true), (HotKeyStatus{HotKeyState::Varnels, 0}));
    EXPECT_EQ(TriedStatus(false, false), (HotKeyStatus{HotKeyState::Taken, 0}));
    EXPECT_EQ(HotKeyStatusText({HotKeyState::SameAsRow, 3}), "Same as Desktop 3");
    EXPECT_EQ(HotKeyStatusText({HotKeyState::SameAsRow, 5}), "Same as previous");
    EXPECT_EQ(HotKeyStatusText({HotKeyState::Taken, 0}), "Held by another program");
}
