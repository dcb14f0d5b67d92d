// The hub with the real relays: a hot key travels hub -> relay -> switcher -> hub relay -> hub, with
// stand-in switchers that answer at once; the close events end everything.
#include "HubFixture.h"

TEST_F(HubTest, AHotKeySwitchTravelsThroughTheRelaysAndTheCloseEventsEndEverything) {
    ASSERT_TRUE(PopulateWithRelays(m_folder));
    // Events that exist already are taken over; commands set while no relay waited (switcher 2 to leave for
    // desktop 1, the hub to show desktop 2) are stale by this start: none of them may fire.
    std::vector<KernelHandle> existing;
    for (int16_t index = 1; index <= EventCount; ++index)
        existing.emplace_back(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
    ::SetEvent(existing[14 - 1].Get());
    ::SetEvent(existing[42 - 1].Get());
    ASSERT_TRUE(m_hub.Start(m_monitor));
    for (int desk = 1; desk <= 4; ++desk)
        ASSERT_TRUE(WaitFor([&] { return Commands(m_folder, desk) == "ready\r\n"; })) << desk;

    // Desktop 1 -> 3: switcher 1 is asked, answers, and the hub switches.
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 2));
    EXPECT_EQ(Commands(m_folder, 1), "ready\r\nSwitchToDesktop3\r\n");

    // Desktop 3 -> 2 and back with the previous-desktop key: now switchers 3 and 2 are asked.
    PressHotKey(MOD_WIN, '2');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop2: switched to desk2", 2));
    PressHotKey(MOD_WIN, VK_OEM_3);
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 3));
    EXPECT_EQ(Commands(m_folder, 3), "ready\r\nSwitchToDesktop2\r\n");
    EXPECT_EQ(Commands(m_folder, 2), "ready\r\nSwitchToDesktop3\r\n");
    EXPECT_EQ(Commands(m_folder, 4), "ready\r\n");
    EXPECT_EQ(m_monitor.Matching("cDesktop2: switched to desk2", m_hub.ProcessId()).size(), 2u);  // start-up, hot key
    EXPECT_EQ(Log(), "");

    // The control panel's shutdown: the hub relay hands "EndApp" to the hub, each relay to its switcher.
    for (int16_t index : {45, 7, 17, 27, 37}) {
        KernelHandle event(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
        ASSERT_TRUE(event) << index;
        ::SetEvent(event.Get());
    }
    EXPECT_TRUE(m_hub.WaitForExit());
    for (int desk = 1; desk <= 4; ++desk)
        EXPECT_TRUE(WaitFor([&] { return Commands(m_folder, desk).ends_with("EndApp\r\n"); })) << desk;
    // Back on desktop 1 before the hub ended.
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: switched to Default", 2, 10000, m_hub.ProcessId()));
    EXPECT_EQ(DesktopTrace().back(), "cDesktop1: switched to Default");
}
