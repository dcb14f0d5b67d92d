#include "core/EventNames.h"

#include <gtest/gtest.h>

#include <set>

TEST(EventName, NamesOfTheTableAndTheBarePrefixOutsideIt) {
    const std::pair<int16_t, const char *> cases[] = {
        {1, "Switcher1Update2"},  {4, "Switcher1ToDesktop2"},  {7, "CloseSwitcher1"},     {8, "ReadRegSwitcher1"},
        {9, "ShowNameSwitcher1"}, {10, "ShutdownDesktop1"},    {11, "Switcher2Update1"},  {16, "Switcher2ToDesktop4"},
        {23, "Switcher3Update4"}, {24, "Switcher3ToDesktop1"}, {29, "ShowNameSwitcher3"}, {33, "Switcher4Update3"},
        {36, "Switcher4ToDesktop3"}, {38, "ReadRegSwitcher4"}, {40, "ShutdownDesktop4"},  {41, "SwitchToDesktop1"},
        {44, "SwitchToDesktop4"}, {45, "CloseVarnel"},         {46, "ReadRegVarnel"},     {47, "ShutdownDesktops"},
        {0, ""},                  {48, ""},                    {-32768, ""},
    };
    for (const auto &[index, name] : cases)
        EXPECT_EQ(EventName(index), std::string("Local\\nuvoq_") + name) << "index " << index;
    std::set<std::string> names;
    for (int16_t i = 1; i <= EventCount; ++i)
        names.insert(EventName(i));
    EXPECT_EQ(names.size(), 47u);
}

TEST(PairEventIndex, EveryOrderedPairOfBothKinds) {
    // {x, n, ToDesktop index, Update index}, from the event table; an unknown kind has base 0.
    const int16_t cases[][4] = {
        {1, 2, 4, 1},   {1, 3, 5, 2},   {1, 4, 6, 3},   {2, 1, 14, 11}, {2, 3, 15, 12}, {2, 4, 16, 13},
        {3, 1, 24, 21}, {3, 2, 25, 22}, {3, 4, 26, 23}, {4, 1, 34, 31}, {4, 2, 35, 32}, {4, 3, 36, 33},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PairEventIndex(PairKindToDesktop, c[0], c[1]), c[2]) << c[0] << "->" << c[1];
        EXPECT_EQ(PairEventIndex(PairKindUpdate, c[0], c[1]), c[3]) << c[0] << "->" << c[1];
    }
    EXPECT_EQ(PairEventIndex(0, 3, 2), 2);
}

TEST(CommandWord, ExactlyTheCountedBytesOfAKnownWord) {
    EXPECT_EQ(ParseCommandWord("SwitchToDesktop3", 16), (Command{CommandKind::SwitchToDesktop, 3}));
    EXPECT_EQ(ParseCommandWord("UpdateScreenshot1", 17), (Command{CommandKind::UpdateScreenshot, 1}));
    EXPECT_EQ(ParseCommandWord("ReadRegistry", 12), (Command{CommandKind::ReadRegistry, 0}));
    EXPECT_EQ(ParseCommandWord("EndAppXYZ", 6), (Command{CommandKind::EndApp, 0}));
    for (const auto &[word, length] : std::initializer_list<std::pair<const char *, long>>{
             {"SwitchToDesktop5", 16}, {"SwitchToDesktop0", 16}, {"ENDAPP", 6}, {"EndApp\0", 7}, {"EndApp", 5},
             {"EndApp", -6}, {nullptr, 6}})
        EXPECT_EQ(ParseCommandWord(word, length), Command{}) << (word ? word : "null") << " " << length;
    EXPECT_EQ(CommandWord({CommandKind::UpdateScreenshot, 4}), "UpdateScreenshot4");
    EXPECT_EQ(CommandWord({}), "");
}
