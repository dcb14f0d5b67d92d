// The relays' rules: which events each one waits on, what it hands on to whom, when it ends, its log lines.
#include "core/RelayRules.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    int16_t index;
    const char *tag;  // nullptr: idle, nothing is sent
    const char *word;
    bool end;
};

// Written out from the event table, one row per event, with the relay that owns it first.
constexpr Row kRows[] = {
    {1, "Tavik1_APPLICATION", "UpdateScreenshot2", false},
    {2, "Tavik1_APPLICATION", "UpdateScreenshot3", false},
    {3, "Tavik1_APPLICATION", "UpdateScreenshot4", false},
    {4, "Tavik1_APPLICATION", "SwitchToDesktop2", false},
    {5, "Tavik1_APPLICATION", "SwitchToDesktop3", false},
    {6, "Tavik1_APPLICATION", "SwitchToDesktop4", false},
    {7, "Tavik1_APPLICATION", "EndApp", true},
    {8, "Tavik1_APPLICATION", "ReadRegistry", false},
    {9, nullptr, nullptr, false},
    {10, nullptr, nullptr, false},
    {11, "Tavik2_APPLICATION", "UpdateScreenshot1", false},
    {12, "Tavik2_APPLICATION", "UpdateScreenshot3", false},
    {13, "Tavik2_APPLICATION", "UpdateScreenshot4", false},
    {14, "Tavik2_APPLICATION", "SwitchToDesktop1", false},
    {15, "Tavik2_APPLICATION", "SwitchToDesktop3", false},
    {16, "Tavik2_APPLICATION", "SwitchToDesktop4", false},
    {17, "Tavik2_APPLICATION", "EndApp", true},
    {18, "Tavik2_APPLICATION", "ReadRegistry", false},
    {19, nullptr, nullptr, false},
    {20, nullptr, nullptr, false},
    {21, "Tavik3_APPLICATION", "UpdateScreenshot1", false},
    {22, "Tavik3_APPLICATION", "UpdateScreenshot2", false},
    {23, "Tavik3_APPLICATION", "UpdateScreenshot4", false},
    {24, "Tavik3_APPLICATION", "SwitchToDesktop1", false},
    {25, "Tavik3_APPLICATION", "SwitchToDesktop2", false},
    {26, "Tavik3_APPLICATION", "SwitchToDesktop4", false},
    {27, "Tavik3_APPLICATION", "EndApp", true},
    {28, "Tavik3_APPLICATION", "ReadRegistry", false},
    {29, nullptr, nullptr, false},
    {30, nullptr, nullptr, false},
    {31, "Tavik4_APPLICATION", "UpdateScreenshot1", false},
    {32, "Tavik4_APPLICATION", "UpdateScreenshot2", false},
    {33, "Tavik4_APPLICATION", "UpdateScreenshot3", false},
    {34, "Tavik4_APPLICATION", "SwitchToDesktop1", false},
    {35, "Tavik4_APPLICATION", "SwitchToDesktop2", false},
    {36, "Tavik4_APPLICATION", "SwitchToDesktop3", false},
    {37, "Tavik4_APPLICATION", "EndApp", true},
    {38, "Tavik4_APPLICATION", "ReadRegistry", false},
    {39, nullptr, nullptr, false},
    {40, nullptr, nullptr, false},
    {41, "Varnel_APPLICATION", "SwitchToDesktop1", false},
    {42, "Varnel_APPLICATION", "SwitchToDesktop2", false},
    {43, "Varnel_APPLICATION", "SwitchToDesktop3", false},
    {44, "Varnel_APPLICATION", "SwitchToDesktop4", false},
    {45, "Varnel_APPLICATION", "EndApp", true},
    {46, "Varnel_APPLICATION", "ReadRegistry", false},
    {47, nullptr, nullptr, false},
};

int16_t Owner(int16_t index) {
    return index > 40 ? 5 : static_cast<int16_t>((index - 1) / 10 + 1);
}

}  // namespace

TEST(RelayRules, EachRelayWaitsOnItsOwnEvents) {
    EXPECT_EQ(RelayEvents(1), (std::vector<int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(RelayEvents(3), (std::vector<int16_t>{21, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
    EXPECT_EQ(RelayEvents(4), (std::vector<int16_t>{31, 32, 33, 34, 35, 36, 37, 38, 39, 40}));
    EXPECT_EQ(RelayEvents(5), (std::vector<int16_t>{41, 42, 43, 44, 45, 46, 47}));
    EXPECT_TRUE(RelayEvents(0).empty());
    EXPECT_TRUE(RelayEvents(6).empty());
}

TEST(RelayRules, EveryEventGoesToItsOwnersReceiverAndNoOtherRelayActs) {
    for (const Row &row : kRows) {
        for (int16_t relay = 0; relay <= 6; ++relay) {
            const RelayAction action = ActionOfEvent(relay, row.index);
            SCOPED_TRACE("event " + std::to_string(row.index) + ", relay " + std::to_string(relay));
            if (relay == Owner(row.index) && row.tag != nullptr)
                EXPECT_EQ(action, (RelayAction{row.tag, row.word, row.end}));
            else
                EXPECT_EQ(action, RelayAction{});
        }
    }
    EXPECT_EQ(ActionOfEvent(1, 0), RelayAction{});
    EXPECT_EQ(ActionOfEvent(5, 48), RelayAction{});
}

TEST(RelayRules, LogLines) {
    EXPECT_EQ(OpenFailureLine(2, 15, "File not found.\r\n"),
              "Pellum2: Failed to open Local\\nuvoq_Switcher2ToDesktop3: File not found.");
    EXPECT_EQ(OpenFailureLine(5, 41, "The system cannot find the file specified. \r\n"),
              "VarnelEventHandler: Failed to open Local\\nuvoq_SwitchToDesktop1: The system cannot find the file "
              "specified.");
    EXPECT_EQ(OpenFailureLine(4, 31, ""), "Pellum4: Failed to open Local\\nuvoq_Switcher4Update1");
    EXPECT_EQ(NoAnswerLine(3, ActionOfEvent(3, 23)),
              "Pellum3: The window Tavik3_APPLICATION did not take UpdateScreenshot4 in time");
    EXPECT_EQ(NoAnswerLine(5, ActionOfEvent(5, 45)),
              "VarnelEventHandler: The window Varnel_APPLICATION did not take EndApp in time");
}
