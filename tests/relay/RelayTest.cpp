// The five relays under Wine, on events created as the hub does, with tagged windows of the test as receivers.
#include "TestSupport.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> g_got;  // "tag <- bytes", in order of arrival

LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA)
        return ::DefWindowProcA(window, message, wParam, lParam);
    const auto *block = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    char tag[32] = {};
    ::GetWindowTextA(window, tag, sizeof tag);
    g_got.push_back(std::string(tag) + " <- " + std::string(static_cast<const char *>(block->lpData), block->cbData));
    return TRUE;
}

// Windows of the test's thread for the five programs; they answer while the test pumps (WaitFor).
using Window = std::unique_ptr<HWND__, BOOL(WINAPI *)(HWND)>;
std::vector<Window> Receivers() {
    std::vector<Window> windows;
    for (int program = 1; program <= 5; ++program) {
        const std::string tag = WindowTagName(static_cast<int16_t>(program));
        HWND window = ::CreateWindowA("STATIC", tag.c_str(), 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Receive));
        ::SetPropA(windows.emplace_back(window, ::DestroyWindow).get(), tag.c_str(), reinterpret_cast<HANDLE>(1));
    }
    return windows;
}

// What the event table's names say: "Switcher2ToDesktop3" tells switcher 2 "SwitchToDesktop3", "Update4"
// "UpdateScreenshot4", "Close" "EndApp", "ReadReg" "ReadRegistry", the rest nobody; no switcher named: the hub.
std::string Expected(int16_t index) {
    const std::string name = EventName(index).substr(EventPrefix.size());
    const size_t at = name.find("Switcher");
    const std::string to = (at == name.npos ? "Varnel" : "Tavik" + name.substr(at + 8, 1)) + "_APPLICATION <- ";
    if (name.find("ToDesktop") != name.npos || name.find("Update") != name.npos)
        return to + (name.find("Update") != name.npos ? "UpdateScreenshot" : "SwitchToDesktop") + name.back();
    return name.starts_with("Close") ? to + "EndApp" : name.starts_with("ReadReg") ? to + "ReadRegistry" : "";
}

class RelayTest : public ::testing::Test {
protected:
    void TearDown() override {
        std::ranges::for_each(m_relays, [](auto &relay) { ::TerminateProcess(relay.Get(), 9); });
    }
    HANDLE Start(int relay) {
        const std::wstring name = relay == 5 ? L"VarnelEventHandler.exe" : L"Pellum" + std::to_wstring(relay) + L".exe";
        m_folder.Add(ProgramFolder() + L"\\" + name, name);
        return m_relays.emplace_back(StartProcess(m_folder.File(name), L"")).Get();
    }
    bool Set(int16_t index) { return ::SetEvent(m_events[index].Get()); }
    static DWORD ExitCode(HANDLE process) {
        DWORD code = STILL_ACTIVE;
        return WaitFor([&] { return ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE; }, 20000) ? code : 0;
    }
    std::string Log() const { return ReadFileBytes(m_folder.File(L"VarnelErrors.txt")); }

    TempFolder m_folder;
    KernelHandle m_events[EventCount + 1];
    std::vector<KernelHandle> m_relays;
};

}  // namespace

TEST_F(RelayTest, EachEventReachesItsReceiverOrIsDroppedAndLoggedAndEachCloseEventEndsItsRelay) {
    for (int16_t index = 1; index <= EventCount; ++index)  // as the hub does
        m_events[index].Reset(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
    for (int relay : {5, 1, 2, 3, 4})  // in the order of their close events in ShutdownEvents
        ASSERT_TRUE(Start(relay));
    std::vector<std::string> expected;
    for (int16_t index = 1; index <= EventCount; ++index) {
        if (Expected(index).ends_with("EndApp"))
            continue;  // handed on last, as they end the relays
        // New windows each time: the receiver is looked up for every command. A stray command shows later.
        const std::vector<Window> receivers = Receivers();
        Set(index);
        if (!Expected(index).empty())
            expected.push_back(Expected(index));
        ASSERT_TRUE(WaitFor([&] { return g_got.size() >= expected.size(); }));
        ASSERT_EQ(g_got, expected) << EventName(index);
    }
    std::vector<Window> receivers = Receivers();
    for (size_t relay = 0; relay < ShutdownEvents.size(); ++relay) {
        Set(ShutdownEvents[relay]);
        expected.push_back(Expected(ShutdownEvents[relay]));
        EXPECT_EQ(ExitCode(m_relays[relay].Get()), 0u) << EventName(ShutdownEvents[relay]);
    }
    EXPECT_EQ(g_got, expected);
    EXPECT_EQ(Log(), "");

    // Desktop 1's last event gone and no receivers: commands are dropped; a hub relay without its hub ends at once.
    receivers.clear();
    g_got.clear();
    m_events[10].Reset();
    const HANDLE relay1 = Start(1), relay3 = Start(3), hubRelay = Start(5);
    EXPECT_EQ(ExitCode(relay1), 1u);
    for (int16_t index : {42, 25, 45})
        Set(index);
    EXPECT_EQ(ExitCode(hubRelay), 0u);
    // A switcher tagging its window only after a close came still gets "EndApp": its relay looks again.
    Set(27);
    ASSERT_TRUE(WaitFor([&] { return ::WaitForSingleObject(m_events[27].Get(), 0) == WAIT_TIMEOUT || !Set(27); }));
    receivers = Receivers();
    EXPECT_EQ(ExitCode(relay3), 0u);
    EXPECT_EQ(g_got, std::vector<std::string>{"Tavik3_APPLICATION <- EndApp"});
    // One line each, also from relays logging at once.
    for (const char *line : {"Pellum1: Failed to open Local\\nuvoq_ShutdownDesktop1: ",
                             "VarnelEventHandler: No window Varnel_APPLICATION to take SwitchToDesktop2; dropped\r\n",
                             "Pellum3: No window Tavik3_APPLICATION to take SwitchToDesktop2; dropped\r\n",
                             "VarnelEventHandler: No window Varnel_APPLICATION to take EndApp; dropped\r\n"})
        EXPECT_NE(Log().find(line), std::string::npos) << line << "\n" << Log();
    EXPECT_EQ(std::ranges::count(Log(), '\n'), 4) << Log();
}
