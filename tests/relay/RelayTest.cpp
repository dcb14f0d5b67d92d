// The five relay programs under Wine: the test creates the 47 events as the hub does, and tagged receiver
// windows on a desktop of its own that record every copy-data block they get.
#include "AnsiText.h"
#include "Handles.h"
#include "TestSupport.h"
#include "Window.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

constexpr const wchar_t *kDesktop = L"pellumtest";
const char *const kTags[] = {"Tavik1_APPLICATION", "Tavik2_APPLICATION", "Tavik3_APPLICATION", "Tavik4_APPLICATION",
                             "Varnel_APPLICATION"};

struct Delivery {
    std::string tag;
    std::string data;  // exactly the block's bytes
    bool operator==(const Delivery &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Delivery &delivery) {
    return out << delivery.tag << " <- \"" << delivery.data << "\" (" << delivery.data.size() << " bytes)";
}

class Deliveries {
public:
    void Add(Delivery delivery) {
        std::lock_guard lock(m_mutex);
        m_list.push_back(std::move(delivery));
    }
    std::vector<Delivery> List() const {
        std::lock_guard lock(m_mutex);
        return m_list;
    }
    size_t Count() const { return List().size(); }

private:
    mutable std::mutex m_mutex;
    std::vector<Delivery> m_list;
};

// A hidden top-level window with a program's tag, as the hub and the switchers have.
class Receiver : public Window {
public:
    Receiver(std::string tag, Deliveries &deliveries) : m_tag(std::move(tag)), m_deliveries(deliveries) {
        if (CreateBound("VarnelTestReceiver", 0, m_tag.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr))
            ::SetPropA(Hwnd(), m_tag.c_str(), reinterpret_cast<HANDLE>(1));
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COPYDATA)
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT *>(lParam));
        return Default(message, wParam, lParam);
    }
    LRESULT OnCopyData(const COPYDATASTRUCT *block) {
        m_deliveries.Add({m_tag, std::string(static_cast<const char *>(block->lpData), block->cbData)});
        return TRUE;
    }
    std::string m_tag;
    Deliveries &m_deliveries;
};

// Receiver windows on the test desktop, owned by a thread of their own (a thread with windows cannot change
// desktop). A hung set stops answering messages once its windows exist.
class ReceiverThread {
public:
    ReceiverThread(std::vector<std::string> tags, Deliveries &deliveries, bool hung = false)
        : m_release(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this, tags, &deliveries, hung] { Run(tags, deliveries, hung); });
        ::WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~ReceiverThread() {
        ::SetEvent(m_release.Get());
        ::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    bool Ok() const { return m_ok; }

private:
    void Run(const std::vector<std::string> &tags, Deliveries &deliveries, bool hung) {
        m_threadId = ::GetCurrentThreadId();
        Desktop desktop(::OpenDesktopW(kDesktop, 0, FALSE, GENERIC_ALL));
        m_ok = desktop && ::SetThreadDesktop(desktop.Get());
        std::vector<std::unique_ptr<Receiver>> windows;
        for (const std::string &tag : tags) {
            windows.push_back(std::make_unique<Receiver>(tag, deliveries));
            m_ok = m_ok && windows.back()->Hwnd() != nullptr;
        }
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts to it
        ::SetEvent(m_ready.Get());
        if (hung) {
            ::WaitForSingleObject(m_release.Get(), INFINITE);
            return;
        }
        while (::GetMessageW(&message, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&message);
    }
    KernelHandle m_release;
    KernelHandle m_ready;
    DWORD m_threadId = 0;
    bool m_ok = false;
    std::thread m_thread;
};

// Whether an event is set, read without taking the set away (a wait would reset it).
bool IsSet(HANDLE event) {
    struct BasicInformation {
        LONG type;
        LONG state;
    } information = {};
    using QueryEvent = LONG(WINAPI *)(HANDLE, int, void *, ULONG, ULONG *);
    static const auto query = reinterpret_cast<QueryEvent>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryEvent")));
    return query(event, 0, &information, sizeof information, nullptr) == 0 && information.state != 0;
}

class RelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_desktop.Reset(::CreateDesktopW(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
        ASSERT_TRUE(m_desktop);
        for (const wchar_t *relay :
             {L"Pellum1.exe", L"Pellum2.exe", L"Pellum3.exe", L"Pellum4.exe", L"VarnelEventHandler.exe"})
            ASSERT_TRUE(m_folder.Add(ProgramFolder() + L"\\" + relay, relay));
    }
    void TearDown() override {
        for (const KernelHandle &relay : m_relays) {
            if (::WaitForSingleObject(relay.Get(), 0) == WAIT_TIMEOUT)
                ::TerminateProcess(relay.Get(), 99);
        }
    }

    // The events the hub would create, all but `missing`.
    void CreateEvents(const std::set<int16_t> &missing = {}) {
        for (int16_t index = 1; index <= EventCount; ++index) {
            if (missing.count(index))
                continue;
            m_events[index].Reset(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
            ASSERT_TRUE(m_events[index]) << index;
            ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "left over: " << index;
        }
    }
    HANDLE StartRelay(int16_t deskNum) {
        const std::wstring name =
            deskNum == 5 ? L"VarnelEventHandler.exe" : L"Pellum" + std::to_wstring(deskNum) + L".exe";
        m_relays.push_back(StartProcess(m_folder.File(name), L"", kDesktop));
        return m_relays.back().Get();
    }
    void Set(int16_t index) { ::SetEvent(m_events[index].Get()); }
    bool WaitTaken(int16_t index) {
        return WaitFor([&] { return !IsSet(m_events[index].Get()); });
    }
    bool WaitDeliveries(size_t count) {
        return WaitFor([&] { return m_deliveries.Count() >= count; });
    }
    static DWORD WaitExit(HANDLE process, DWORD timeoutMs = 10000) {
        if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        return code;
    }
    std::string Log() const { return ReadFileBytes(m_folder.File(L"VarnelErrors.txt")); }

    Desktop m_desktop;
    TempFolder m_folder;
    KernelHandle m_events[EventCount + 1];
    std::vector<KernelHandle> m_relays;
    Deliveries m_deliveries;
};

struct Expected {
    int16_t index;
    const char *tag;  // nullptr: nobody
    const char *word;
};

// The event table's last column for every event that does not end its relay.
constexpr Expected kRoutes[] = {
    {1, "Tavik1_APPLICATION", "UpdateScreenshot2"},
    {2, "Tavik1_APPLICATION", "UpdateScreenshot3"},
    {3, "Tavik1_APPLICATION", "UpdateScreenshot4"},
    {4, "Tavik1_APPLICATION", "SwitchToDesktop2"},
    {5, "Tavik1_APPLICATION", "SwitchToDesktop3"},
    {6, "Tavik1_APPLICATION", "SwitchToDesktop4"},
    {8, "Tavik1_APPLICATION", "ReadRegistry"},
    {9, nullptr, nullptr},
    {10, nullptr, nullptr},
    {11, "Tavik2_APPLICATION", "UpdateScreenshot1"},
    {12, "Tavik2_APPLICATION", "UpdateScreenshot3"},
    {13, "Tavik2_APPLICATION", "UpdateScreenshot4"},
    {14, "Tavik2_APPLICATION", "SwitchToDesktop1"},
    {15, "Tavik2_APPLICATION", "SwitchToDesktop3"},
    {16, "Tavik2_APPLICATION", "SwitchToDesktop4"},
    {18, "Tavik2_APPLICATION", "ReadRegistry"},
    {19, nullptr, nullptr},
    {20, nullptr, nullptr},
    {21, "Tavik3_APPLICATION", "UpdateScreenshot1"},
    {22, "Tavik3_APPLICATION", "UpdateScreenshot2"},
    {23, "Tavik3_APPLICATION", "UpdateScreenshot4"},
    {24, "Tavik3_APPLICATION", "SwitchToDesktop1"},
    {25, "Tavik3_APPLICATION", "SwitchToDesktop2"},
    {26, "Tavik3_APPLICATION", "SwitchToDesktop4"},
    {28, "Tavik3_APPLICATION", "ReadRegistry"},
    {29, nullptr, nullptr},
    {30, nullptr, nullptr},
    {31, "Tavik4_APPLICATION", "UpdateScreenshot1"},
    {32, "Tavik4_APPLICATION", "UpdateScreenshot2"},
    {33, "Tavik4_APPLICATION", "UpdateScreenshot3"},
    {34, "Tavik4_APPLICATION", "SwitchToDesktop1"},
    {35, "Tavik4_APPLICATION", "SwitchToDesktop2"},
    {36, "Tavik4_APPLICATION", "SwitchToDesktop3"},
    {38, "Tavik4_APPLICATION", "ReadRegistry"},
    {39, nullptr, nullptr},
    {40, nullptr, nullptr},
    {41, "Varnel_APPLICATION", "SwitchToDesktop1"},
    {42, "Varnel_APPLICATION", "SwitchToDesktop2"},
    {43, "Varnel_APPLICATION", "SwitchToDesktop3"},
    {44, "Varnel_APPLICATION", "SwitchToDesktop4"},
    {46, "Varnel_APPLICATION", "ReadRegistry"},
    {47, nullptr, nullptr},
};

// The relay owning an event, its "ReadRegistry" event (a marker that shows the relay has moved on) and its close event.
int16_t Owner(int16_t index) {
    return index > 40 ? 5 : static_cast<int16_t>((index - 1) / 10 + 1);
}
int16_t MarkerOf(int16_t relay) {
    return relay == 5 ? 46 : static_cast<int16_t>(10 * relay - 2);
}
int16_t CloseOf(int16_t relay) {
    return relay == 5 ? 45 : static_cast<int16_t>(10 * relay - 3);
}

}  // namespace

TEST_F(RelayTest, EveryEventReachesExactlyItsReceiverWithItsWordAndIdleOnesNobody) {
    CreateEvents();
    ReceiverThread receivers({std::begin(kTags), std::end(kTags)}, m_deliveries);
    ASSERT_TRUE(receivers.Ok());
    // Windows with the same tags on the test program's desktop: a relay must never reach across desktops.
    Deliveries elsewhere;
    std::vector<std::unique_ptr<Receiver>> decoys;
    for (const char *tag : kTags)
        decoys.push_back(std::make_unique<Receiver>(tag, elsewhere));
    for (int16_t relay = 1; relay <= 5; ++relay)
        ASSERT_TRUE(StartRelay(relay));

    std::vector<Delivery> expected;
    for (const Expected &route : kRoutes) {
        SCOPED_TRACE("event " + std::to_string(route.index));
        Set(route.index);
        ASSERT_TRUE(WaitTaken(route.index));
        if (route.tag != nullptr) {
            expected.push_back({route.tag, route.word});
        } else {
            // Its relay has passed the idle event once the marker arrives, so anything it sent came before.
            const int16_t marker = MarkerOf(Owner(route.index));
            Set(marker);
            expected.push_back({kTags[Owner(route.index) - 1], "ReadRegistry"});
        }
        ASSERT_TRUE(WaitDeliveries(expected.size()));
        ASSERT_EQ(m_deliveries.List(), expected);
    }
    EXPECT_TRUE(elsewhere.List().empty());
}

TEST_F(RelayTest, EachRelayEndsAfterHandingOnItsCloseEvent) {
    CreateEvents();
    ReceiverThread receivers({std::begin(kTags), std::end(kTags)}, m_deliveries);
    ASSERT_TRUE(receivers.Ok());
    for (int16_t relay = 1; relay <= 5; ++relay) {
        SCOPED_TRACE("relay " + std::to_string(relay));
        const HANDLE process = StartRelay(relay);
        ASSERT_TRUE(process);
        Set(CloseOf(relay));
        EXPECT_EQ(WaitExit(process), 0u);
        ASSERT_EQ(m_deliveries.Count(), static_cast<size_t>(relay));
        EXPECT_EQ(m_deliveries.List().back(), (Delivery{kTags[relay - 1], "EndApp"}));
        // Nobody waits any more: a later set stays pending.
        Set(MarkerOf(relay));
        EXPECT_TRUE(IsSet(m_events[MarkerOf(relay)].Get()));
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(RelayTest, ADroppedCommandIsLoggedAndACloseWaitsForASwitcherStillStarting) {
    CreateEvents();
    const HANDLE hubRelay = StartRelay(5);
    const HANDLE relay = StartRelay(3);
    ASSERT_TRUE(hubRelay && relay);
    // Commands with nobody to take them are dropped, one log line each.
    Set(42);
    Set(25);
    ASSERT_TRUE(WaitTaken(42) && WaitTaken(25));
    // The hub relay's receiver is the hub, which sets the close events itself when it fails: it ends at once.
    Set(45);
    EXPECT_EQ(WaitExit(hubRelay), 0u);
    // A switcher started with its relay may tag its window only after a failed start-up has told it to end.
    Set(CloseOf(3));
    ASSERT_TRUE(WaitTaken(CloseOf(3)));
    ReceiverThread late({"Tavik3_APPLICATION"}, m_deliveries);
    ASSERT_TRUE(late.Ok());
    EXPECT_EQ(WaitExit(relay), 0u);
    EXPECT_EQ(m_deliveries.List(), (std::vector<Delivery>{{"Tavik3_APPLICATION", "EndApp"}}));

    const std::string log = Log();
    for (const char *line : {"VarnelEventHandler: No window Varnel_APPLICATION to take SwitchToDesktop2; dropped\r\n",
                             "Pellum3: No window Tavik3_APPLICATION to take SwitchToDesktop2; dropped\r\n",
                             "VarnelEventHandler: No window Varnel_APPLICATION to take EndApp; dropped\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
}

TEST_F(RelayTest, TheReceiverIsLookedUpForEveryCommand) {
    CreateEvents();
    ASSERT_TRUE(StartRelay(2));
    Set(11);
    ASSERT_TRUE(WaitTaken(11));
    {
        ReceiverThread first({"Tavik2_APPLICATION"}, m_deliveries);
        ASSERT_TRUE(first.Ok());
        Set(12);
        ASSERT_TRUE(WaitDeliveries(1));
    }
    ReceiverThread second({"Tavik2_APPLICATION"}, m_deliveries);
    ASSERT_TRUE(second.Ok());
    Set(13);
    ASSERT_TRUE(WaitDeliveries(2));
    EXPECT_EQ(m_deliveries.List(), (std::vector<Delivery>{{"Tavik2_APPLICATION", "UpdateScreenshot3"},
                                                          {"Tavik2_APPLICATION", "UpdateScreenshot4"}}));
}

TEST_F(RelayTest, TwoSetsBeforeOneWaitGiveOneCommand) {
    CreateEvents();
    ReceiverThread receivers({"Tavik4_APPLICATION", "Varnel_APPLICATION"}, m_deliveries);
    ASSERT_TRUE(receivers.Ok());
    Set(33);
    Set(33);
    Set(43);
    Set(43);
    ASSERT_TRUE(StartRelay(4));
    ASSERT_TRUE(StartRelay(5));
    ASSERT_TRUE(WaitTaken(33));
    ASSERT_TRUE(WaitTaken(43));
    Set(MarkerOf(4));
    Set(MarkerOf(5));
    ASSERT_TRUE(WaitDeliveries(4));
    std::vector<Delivery> got = m_deliveries.List();
    std::sort(got.begin(), got.end(),
              [](const Delivery &a, const Delivery &b) { return a.tag + a.data < b.tag + b.data; });
    EXPECT_EQ(got, (std::vector<Delivery>{{"Tavik4_APPLICATION", "ReadRegistry"},
                                          {"Tavik4_APPLICATION", "UpdateScreenshot3"},
                                          {"Varnel_APPLICATION", "ReadRegistry"},
                                          {"Varnel_APPLICATION", "SwitchToDesktop3"}}));
}

TEST_F(RelayTest, ARelayThatCannotOpenItsEventsLogsOneLineAndEnds) {
    // Each relay misses the last of its events; the events it can open come first.
    CreateEvents({10, 20, 30, 40, 47});
    for (int16_t relay = 1; relay <= 5; ++relay)
        EXPECT_EQ(WaitExit(StartRelay(relay)), 1u) << relay;
    const std::string log = Log();
    for (const char *line : {"Pellum1: Failed to open Local\\nuvoq_ShutdownDesktop1",
                             "Pellum2: Failed to open Local\\nuvoq_ShutdownDesktop2",
                             "Pellum3: Failed to open Local\\nuvoq_ShutdownDesktop3",
                             "Pellum4: Failed to open Local\\nuvoq_ShutdownDesktop4",
                             "VarnelEventHandler: Failed to open Local\\nuvoq_ShutdownDesktops"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5) << log;
}

TEST_F(RelayTest, AHungReceiverDoesNotHoldTheRelay) {
    CreateEvents();
    ReceiverThread hung({"Tavik2_APPLICATION"}, m_deliveries, true);
    ASSERT_TRUE(hung.Ok());
    const HANDLE process = StartRelay(2);
    ASSERT_TRUE(process);
    Set(11);
    ASSERT_TRUE(WaitTaken(11));
    Set(17);
    EXPECT_EQ(WaitExit(process, 30000), 0u);
    EXPECT_NE(Log().find("Pellum2: The window Tavik2_APPLICATION did not take UpdateScreenshot1 in time"),
              std::string::npos)
        << Log();
}
