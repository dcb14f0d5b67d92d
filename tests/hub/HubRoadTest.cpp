// The hub with the real relays: a hot key travels hub -> relay -> switcher -> hub relay -> hub, with
// stand-in switchers that answer at once; the close events end everything. Dead programs are started again
// within a limit, and a new hub ends a leftover set before it starts its own.
#include "HubFixture.h"

#include <cstdio>

namespace {

// The hub with the real relays and four stand-in switchers, all of them ready.
bool StartSet(const TempFolder &folder, HubRun &hub, const DebugMonitor &monitor) {
    if (!PopulateWithRelays(folder) || !hub.Start(monitor))
        return false;
    for (int desk = 1; desk <= 4; ++desk) {
        if (!WaitFor([&] { return Commands(folder, desk) == "ready\r\n"; }))
            return false;
    }
    return true;
}

}  // namespace

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

namespace {

const wchar_t *const kSet[] = {L"Tavik1.exe",  L"Tavik2.exe",  L"Tavik3.exe",  L"Tavik4.exe",           L"Pellum1.exe",
                               L"Pellum2.exe", L"Pellum3.exe", L"Pellum4.exe", L"VarnelEventHandler.exe"};

size_t Count(const std::string &text, const std::string &part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

}  // namespace

TEST_F(HubTest, ProgramsThatDieAreStartedAgainWithinALimitAndAHotKeyNeverWaitsOnADeadSwitcher) {
    ASSERT_TRUE(StartSet(m_folder, m_hub, m_monitor));
    const DWORD hub = m_hub.ProcessId();

    // The shown desktop's relay dies: it is back at once and the next hot key switches.
    ASSERT_TRUE(KillProcess(L"Pellum1.exe"));
    EXPECT_TRUE(m_monitor.WaitFor("Varnel: Pellum1.exe on desktop 1 ended with exit code 1; it is started again"));
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: started " + Dir() + "\\Pellum1.exe on Default", 2, 10000, hub));
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 2, 3000, hub));
    EXPECT_EQ(ProcessIdsOf(L"Pellum1.exe").size(), 1u);

    // Desktop 3's switcher dies four times: started again three times, then reported once and left.
    const std::string started = "cDesktop3: started " + Dir() + "\\Tavik3.exe on desk3";
    for (size_t death = 1; death <= 4; ++death) {
        ASSERT_TRUE(WaitFor([&] { return Count(Commands(m_folder, 3), "ready") == death; })) << death;
        ASSERT_TRUE(KillProcess(L"Tavik3.exe")) << death;
        ASSERT_TRUE(m_monitor.WaitFor("Varnel: Tavik3.exe on desktop 3 ended with exit code 1", death)) << death;
    }
    EXPECT_TRUE(m_monitor.WaitFor("Tavik3.exe on desktop 3 ended with exit code 1; it died 4 times within a minute "
                                  "and is not started again"));
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"varnelerror").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"varnelerror"), "Default|2|\"" + Dir() + "\\varnelerror.exe\" 8 Tavik3.exe\r\n");
    EXPECT_EQ(m_monitor.Matching(started, hub).size(), 4u);
    EXPECT_EQ(Count(Log(), "it is started again"), 4u) << Log();

    // With nobody to ask, the hub switches by itself, without a picture, half a second after the key.
    const double pressed = DebugMonitor::Now();
    PressHotKey(MOD_WIN, '2');
    ASSERT_TRUE(m_monitor.WaitFor("cDesktop2: switched to desk2", 2, 3000, hub));
    for (const auto &line : m_monitor.Lines()) {
        if (line.processId == hub && line.text == "cDesktop2: switched to desk2" && line.milliseconds > pressed)
            std::printf("hot key to switch past a dead switcher: %.0f ms\n", line.milliseconds - pressed);
    }
    EXPECT_NE(Log().find(" Varnel: Switcher 3 did not ask for desktop 2 within 500 ms; switching without its picture"),
              std::string::npos)
        << Log();
    EXPECT_EQ(ProcessIdsOf(L"Tavik3.exe").size(), 0u);
}

TEST_F(HubTest, AHubStartedOverALeftoverSetEndsItFirstAndOneShutdownEndsTheNewSet) {
    ASSERT_TRUE(StartSet(m_folder, m_hub, m_monitor));
    // The hub alone is told to end: its switchers and relays stay.
    ASSERT_TRUE(m_hub.Send("EndApp"));
    ASSERT_TRUE(m_hub.WaitForExit());
    for (const wchar_t *program : kSet)
        EXPECT_EQ(ProcessIdsOf(program).size(), 1u) << ToAnsi(program);

    HubRun next(m_folder);
    ASSERT_TRUE(next.Start(m_monitor));
    EXPECT_NE(Log().find(" Varnel: 9 programs of an earlier set still run; they are ended first\r\n"),
              std::string::npos)
        << Log();
    for (int desk = 1; desk <= 4; ++desk)
        EXPECT_TRUE(WaitFor([&] { return Commands(m_folder, desk) == "ready\r\nEndApp\r\nready\r\n"; })) << desk;
    for (const wchar_t *program : kSet)
        EXPECT_EQ(ProcessIdsOf(program).size(), 1u) << ToAnsi(program);

    // One Shutdown, as the control panel gives it, ends the one set.
    for (int16_t index : {45, 7, 17, 27, 37}) {
        KernelHandle event(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
        ::SetEvent(event.Get());
    }
    EXPECT_TRUE(next.WaitForExit());
    for (const wchar_t *program : kSet)
        EXPECT_TRUE(WaitFor([&] { return ProcessIdsOf(program).empty(); })) << ToAnsi(program);
    EXPECT_EQ(Log().find("ended with exit code"), std::string::npos) << Log();
}
