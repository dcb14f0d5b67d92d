#include "core/EventNames.h"

#include <gtest/gtest.h>

#include <set>

TEST(EventName, KnownIndicesGiveTheirFullNames) {
    const struct {
        int16_t index;
        const char *name;
    } cases[] = {
        {1, "Local\\nuvoq_Switcher1Update2"},     {4, "Local\\nuvoq_Switcher1ToDesktop2"},
        {7, "Local\\nuvoq_CloseSwitcher1"},       {10, "Local\\nuvoq_ShutdownDesktop1"},
        {11, "Local\\nuvoq_Switcher2Update1"},    {16, "Local\\nuvoq_Switcher2ToDesktop4"},
        {23, "Local\\nuvoq_Switcher3Update4"},    {24, "Local\\nuvoq_Switcher3ToDesktop1"},
        {29, "Local\\nuvoq_ShowNameSwitcher3"},   {33, "Local\\nuvoq_Switcher4Update3"},
        {36, "Local\\nuvoq_Switcher4ToDesktop3"}, {38, "Local\\nuvoq_ReadRegSwitcher4"},
        {41, "Local\\nuvoq_SwitchToDesktop1"},    {44, "Local\\nuvoq_SwitchToDesktop4"},
        {45, "Local\\nuvoq_CloseVarnel"},         {46, "Local\\nuvoq_ReadRegVarnel"},
        {47, "Local\\nuvoq_ShutdownDesktops"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EventName(c.index), c.name) << "index " << c.index;
}

TEST(EventName, OutsideTheTableGivesTheBarePrefix) {
    for (int16_t index : {0, 48, -1, -32768, 32767})
        EXPECT_EQ(EventName(index), "Local\\nuvoq_") << "index " << index;
}

TEST(EventName, AllFortySevenAreDistinctAndFollowThePiecesRule) {
    std::set<std::string> names;
    for (int16_t i = 1; i <= EventCount; ++i)
        names.insert(EventName(i));
    EXPECT_EQ(names.size(), 47u);
    for (int x = 1; x <= 4; ++x) {
        const int base = 10 * (x - 1);
        const std::string n = std::to_string(x);
        EXPECT_EQ(EventName(static_cast<int16_t>(base + 7)), "Local\\nuvoq_CloseSwitcher" + n);
        EXPECT_EQ(EventName(static_cast<int16_t>(base + 8)), "Local\\nuvoq_ReadRegSwitcher" + n);
        EXPECT_EQ(EventName(static_cast<int16_t>(base + 9)), "Local\\nuvoq_ShowNameSwitcher" + n);
        EXPECT_EQ(EventName(static_cast<int16_t>(base + 10)), "Local\\nuvoq_ShutdownDesktop" + n);
    }
}

TEST(PairEventIndex, EveryOrderedPairOfBothKinds) {
    // {x, n, ToDesktop index, Update index}, from the event table.
    const int16_t cases[][4] = {
        {1, 2, 4, 1},   {1, 3, 5, 2},   {1, 4, 6, 3},   {2, 1, 14, 11}, {2, 3, 15, 12}, {2, 4, 16, 13},
        {3, 1, 24, 21}, {3, 2, 25, 22}, {3, 4, 26, 23}, {4, 1, 34, 31}, {4, 2, 35, 32}, {4, 3, 36, 33},
    };
    std::set<int16_t> seen;
    for (const auto &c : cases) {
        EXPECT_EQ(PairEventIndex(PairKindToDesktop, c[0], c[1]), c[2]) << c[0] << "->" << c[1];
        EXPECT_EQ(PairEventIndex(PairKindUpdate, c[0], c[1]), c[3]) << c[0] << "->" << c[1];
        seen.insert(c[2]);
        seen.insert(c[3]);
        EXPECT_EQ(EventName(c[2]), "Local\\nuvoq_Switcher" + std::to_string(c[0]) + "ToDesktop" + std::to_string(c[1]));
        EXPECT_EQ(EventName(c[3]), "Local\\nuvoq_Switcher" + std::to_string(c[0]) + "Update" + std::to_string(c[1]));
    }
    EXPECT_EQ(seen.size(), 24u);
}

TEST(PairEventIndex, UnknownKindHasBaseZero) {
    EXPECT_EQ(PairEventIndex(0, 1, 2), 1);
    EXPECT_EQ(PairEventIndex(3, 3, 2), 2);
    EXPECT_EQ(PairEventIndex(-1, 2, 4), 3);
}

TEST(CommandWord, ParsesExactlyTheGivenBytes) {
    EXPECT_EQ(ParseCommandWord("SwitchToDesktop3", 16), (Command{CommandKind::SwitchToDesktop, 3}));
    EXPECT_EQ(ParseCommandWord("UpdateScreenshot1", 17), (Command{CommandKind::UpdateScreenshot, 1}));
    EXPECT_EQ(ParseCommandWord("EndApp", 6), (Command{CommandKind::EndApp, 0}));
    EXPECT_EQ(ParseCommandWord("ReadRegistry", 12), (Command{CommandKind::ReadRegistry, 0}));
    // Only the counted bytes are looked at.
    EXPECT_EQ(ParseCommandWord("EndAppXYZ", 6), (Command{CommandKind::EndApp, 0}));
}

TEST(CommandWord, AnythingElseIsNoCommand) {
    const Command none{};
    EXPECT_EQ(ParseCommandWord("SwitchToDesktop5", 16), none);
    EXPECT_EQ(ParseCommandWord("SwitchToDesktop0", 16), none);
    EXPECT_EQ(ParseCommandWord("switchtodesktop1", 16), none);
    EXPECT_EQ(ParseCommandWord("ENDAPP", 6), none);
    EXPECT_EQ(ParseCommandWord("EndApp\0", 7), none);
    EXPECT_EQ(ParseCommandWord("EndApp ", 7), none);
    EXPECT_EQ(ParseCommandWord("EndApp", 5), none);
    EXPECT_EQ(ParseCommandWord("EndApp", 0), none);
    EXPECT_EQ(ParseCommandWord("EndApp", -6), none);
    EXPECT_EQ(ParseCommandWord(nullptr, 6), none);
    EXPECT_EQ(ParseCommandWord("", 0), none);
}

TEST(CommandWord, WordsRoundTrip) {
    for (int16_t desk = 1; desk <= 4; ++desk) {
        for (auto kind : {CommandKind::SwitchToDesktop, CommandKind::UpdateScreenshot}) {
            const std::string word = CommandWord({kind, desk});
            EXPECT_EQ(ParseCommandWord(word.data(), static_cast<long>(word.size())), (Command{kind, desk}));
        }
    }
    EXPECT_EQ(CommandWord({CommandKind::SwitchToDesktop, 2}), "SwitchToDesktop2");
    EXPECT_EQ(CommandWord({CommandKind::UpdateScreenshot, 4}), "UpdateScreenshot4");
    EXPECT_EQ(CommandWord({}), "");
}

TEST(RouteOfEvent, EachEventReachesItsReceiverWithItsWord) {
    const struct {
        int16_t index;
        int16_t receiver;
        const char *word;
    } cases[] = {
        {1, 1, "UpdateScreenshot2"},  {2, 1, "UpdateScreenshot3"},  {3, 1, "UpdateScreenshot4"},
        {4, 1, "SwitchToDesktop2"},   {5, 1, "SwitchToDesktop3"},   {6, 1, "SwitchToDesktop4"},
        {7, 1, "EndApp"},             {8, 1, "ReadRegistry"},       {9, 0, ""},
        {10, 0, ""},                  {11, 2, "UpdateScreenshot1"}, {12, 2, "UpdateScreenshot3"},
        {13, 2, "UpdateScreenshot4"}, {14, 2, "SwitchToDesktop1"},  {15, 2, "SwitchToDesktop3"},
        {16, 2, "SwitchToDesktop4"},  {17, 2, "EndApp"},            {18, 2, "ReadRegistry"},
        {19, 0, ""},                  {20, 0, ""},                  {21, 3, "UpdateScreenshot1"},
        {22, 3, "UpdateScreenshot2"}, {23, 3, "UpdateScreenshot4"}, {24, 3, "SwitchToDesktop1"},
        {25, 3, "SwitchToDesktop2"},  {26, 3, "SwitchToDesktop4"},  {27, 3, "EndApp"},
        {28, 3, "ReadRegistry"},      {29, 0, ""},                  {30, 0, ""},
        {31, 4, "UpdateScreenshot1"}, {32, 4, "UpdateScreenshot2"}, {33, 4, "UpdateScreenshot3"},
        {34, 4, "SwitchToDesktop1"},  {35, 4, "SwitchToDesktop2"},  {36, 4, "SwitchToDesktop3"},
        {37, 4, "EndApp"},            {38, 4, "ReadRegistry"},      {39, 0, ""},
        {40, 0, ""},                  {41, 5, "SwitchToDesktop1"},  {42, 5, "SwitchToDesktop2"},
        {43, 5, "SwitchToDesktop3"},  {44, 5, "SwitchToDesktop4"},  {45, 5, "EndApp"},
        {46, 5, "ReadRegistry"},      {47, 0, ""},
    };
    static_assert(sizeof cases / sizeof cases[0] == 47);
    for (const auto &c : cases) {
        const EventRoute route = RouteOfEvent(c.index);
        EXPECT_EQ(route.receiver, c.receiver) << "index " << c.index;
        EXPECT_EQ(CommandWord(route.command), c.word) << "index " << c.index;
    }
    EXPECT_EQ(RouteOfEvent(0).receiver, 0);
    EXPECT_EQ(RouteOfEvent(48).receiver, 0);
}

TEST(WatchedEvents, EachRelayWatchesItsOwnTen) {
    const int16_t cases[][3] = {{1, 1, 10}, {2, 11, 20}, {3, 21, 30}, {4, 31, 40}, {5, 41, 47}};
    for (const auto &c : cases) {
        const EventRange range = WatchedEvents(c[0]);
        EXPECT_EQ(range.first, c[1]);
        EXPECT_EQ(range.last, c[2]);
        for (int16_t i = range.first; i <= range.last; ++i) {
            const int16_t receiver = RouteOfEvent(i).receiver;
            EXPECT_TRUE(receiver == 0 || receiver == c[0]) << "relay " << c[0] << " index " << i;
        }
    }
}

TEST(WindowTagName, HubAndSwitchers) {
    EXPECT_EQ(WindowTagName(5), "Varnel_APPLICATION");
    EXPECT_EQ(WindowTagName(1), "Tavik1_APPLICATION");
    EXPECT_EQ(WindowTagName(4), "Tavik4_APPLICATION");
}
