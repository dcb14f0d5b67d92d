// The running hub: hot keys ask the shown desktop's switcher, copy-data commands switch, re-read and end.
#include "HubFixture.h"

#include <algorithm>
#include <array>

namespace {

// The twelve "ToDesktop" events, which a hot key sets for the switcher of the shown desktop.
class ToDesktopEvents {
public:
    ToDesktopEvents() {
        size_t slot = 0;
        for (int x = 1; x <= 4; ++x) {
            for (int n = 1; n <= 4; ++n) {
                if (n != x)
                    m_events[slot++] = {x, n, std::make_unique<WatchedEvent>(Name(x, n).c_str())};
            }
        }
    }
    static std::string Name(int x, int n) { return "Switcher" + std::to_string(x) + "ToDesktop" + std::to_string(n); }
    // The names of the events set since the last look.
    std::vector<std::string> Taken(const std::string &awaited, DWORD timeoutMs = 10000) {
        std::vector<std::string> set;
        for (auto &e : m_events) {
            const std::string name = Name(e.x, e.n);
            if (e.event->Signalled(name == awaited ? timeoutMs : 0))
                set.push_back(name);
        }
        return set;
    }

private:
    struct Entry {
        int x = 0, n = 0;
        std::unique_ptr<WatchedEvent> event;
    };
    std::array<Entry, 12> m_events;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(HubTest, HotKeysAskTheShownDesktopsSwitcherAndCommandsMoveTheState) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    ToDesktopEvents events;
    const DWORD hub = m_hub.ProcessId();

    // Before any switch the previous-desktop key asks for nothing, nor does the shown desktop's key; hot keys
    // are handled in order, so the effect of the last one shows that the earlier ones did nothing. The test
    // answers each request as the switcher would, before the hub stops waiting for it.
    PressHotKey(MOD_WIN, VK_OEM_3);
    PressHotKey(MOD_WIN, '1');
    PressHotKey(MOD_WIN, '3');
    EXPECT_EQ(events.Taken("Switcher1ToDesktop3"), Names{"Switcher1ToDesktop3"});

    // 1 -> 3 -> 2: the previous-desktop key asks switcher 2 for desktop 3.
    ASSERT_TRUE(m_hub.Send("SwitchToDesktop3"));
    ASSERT_TRUE(m_hub.Send("SwitchToDesktop2"));
    EXPECT_TRUE(m_monitor.WaitFor("switched to desk3", 2, 10000, hub));  // start-up, then the command
    EXPECT_TRUE(m_monitor.WaitFor("switched to desk2", 2, 10000, hub));

    // Words in other case, with a NUL or a blank after them, or for desktop 5, and a switch to the shown
    // desktop, change nothing.
    for (std::string_view word : {std::string_view("switchtodesktop1"), std::string_view("SwitchToDesktop1\0", 17),
                                  std::string_view("SwitchToDesktop1 "), std::string_view("SwitchToDesktop5"),
                                  std::string_view("SwitchToDesktop2"), std::string_view("")})
        ASSERT_TRUE(m_hub.Send(word));
    PressHotKey(MOD_WIN, VK_OEM_3);
    EXPECT_EQ(events.Taken("Switcher2ToDesktop3"), Names{"Switcher2ToDesktop3"});
    // The hot key's effect shows that the hub handled every word before it; none of them switched.
    EXPECT_EQ(m_monitor.Matching("switched to Default", hub).size(), 1u);
    EXPECT_EQ(m_monitor.Matching("switched to desk2", hub).size(), 2u);

    // Performed, the previous-desktop key turns back: now switcher 3 is asked for desktop 2.
    ASSERT_TRUE(m_hub.Send("SwitchToDesktop3"));
    PressHotKey(MOD_WIN, VK_OEM_3);
    EXPECT_EQ(events.Taken("Switcher3ToDesktop2"), Names{"Switcher3ToDesktop2"});
    ASSERT_TRUE(m_hub.Send("SwitchToDesktop2"));
    PressHotKey(MOD_WIN, '4');
    EXPECT_EQ(events.Taken("Switcher2ToDesktop4"), Names{"Switcher2ToDesktop4"});
}

TEST_F(HubTest, ReadRegistryRegistersTheChangedHotKeys) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    ToDesktopEvents events;

    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Varnel", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD modifiers = MOD_SHIFT | MOD_CONTROL, desktop4 = 'Q';
    ::RegSetValueExA(key, "ShortcutKeyModifiers", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&modifiers), 4);
    ::RegSetValueExA(key, "ShortcutKeyDesktop4", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&desktop4), 4);
    ::RegCloseKey(key);
    ASSERT_TRUE(m_hub.Send("ReadRegistry"));

    const HWND own = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(::RegisterHotKey(own, 1, MOD_WIN, '1'));               // let go
    EXPECT_FALSE(::RegisterHotKey(own, 2, MOD_SHIFT | MOD_CONTROL, 'Q'));  // taken by the hub
    EXPECT_FALSE(::RegisterHotKey(own, 3, MOD_SHIFT | MOD_CONTROL, '2'));
    ::UnregisterHotKey(own, 1);
    ::DestroyWindow(own);

    EXPECT_EQ(Log(), "");
    PressHotKey(MOD_SHIFT | MOD_CONTROL, 'Q');
    EXPECT_EQ(events.Taken("Switcher1ToDesktop4"), Names{"Switcher1ToDesktop4"});
}

TEST_F(HubTest, AHugeBlockLeavesTheHubRunningAndEndAppReturnsToDesktopOneAndClosesEveryEvent) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    // Any process may send 8 MB. Wine delivers no block over about 2 MB: here the send times out and the hub
    // never sees it; elsewhere the hub's message wait failed (-1), which its loop logs once and goes on.
    SendCopyData(m_hub.Window(), std::string(8 << 20, 'S'), 2000);
    EXPECT_TRUE(m_hub.Running());
    const std::string log = Log();
    EXPECT_LE(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_TRUE(log.empty() || log.find(" Varnel: A message could not be received: ") != std::string::npos) << log;
    ASSERT_TRUE(m_hub.Send("SwitchToDesktop3"));
    m_hub.Send("EndApp");
    ASSERT_TRUE(m_hub.WaitForExit());
    // The monitor may read the hub's last line a moment after the hub is gone.
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: switched to Default", 2, 10000, m_hub.ProcessId()));

    const std::vector<std::string> trace = DesktopTrace();
    ASSERT_GE(trace.size(), 2u);
    EXPECT_EQ(trace[trace.size() - 2], "cDesktop3: switched to desk3");
    EXPECT_EQ(trace.back(), "cDesktop1: switched to Default");
    for (int16_t index = 1; index <= EventCount; ++index) {
        KernelHandle event(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str()));
        EXPECT_FALSE(event) << EventName(index);
    }
}
