// The real hub under Wine with stand-ins for the programs it starts or the real relays, watched through its trace.
#include "AnsiText.h"
#include "HubRun.h"
#include "WinAPIError.h"
#include "core/EventNames.h"
#include "core/HotKeySets.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// UAC on, as Windows has it by default; Wine says it is off, and gives every process an elevated token.
class UacOn {
public:
    UacOn() { Set(1); }
    ~UacOn() { Set(0); }
    UacOn(const UacOn &) = delete;
    UacOn &operator=(const UacOn &) = delete;

private:
    static void Set(DWORD on) {
        ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                          "EnableLUA", REG_DWORD, &on, sizeof on);
    }
};

BOOL CALLBACK CollectOwner(HWND window, LPARAM owners) {
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    reinterpret_cast<std::vector<DWORD> *>(owners)->push_back(id);
    return TRUE;
}

// The hub's shell on `desktop`: its explorer.exe with a window there; 0 when there is none.
DWORD ShellOn(const wchar_t *desktop, DWORD hub) {
    const Desktop opened(::OpenDesktopW(desktop, 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS));
    std::vector<DWORD> owners;
    ::EnumDesktopWindows(opened.Get(), CollectOwner, reinterpret_cast<LPARAM>(&owners));
    for (const ChildProcess &child : ChildProcesses(hub)) {
        if (_wcsicmp(child.name.c_str(), L"explorer.exe") == 0 && std::ranges::count(owners, child.id) > 0)
            return child.id;
    }
    return 0;
}

LSTATUS CreateLastingKey(const char *path) {
    HKEY key = nullptr;
    const LSTATUS status = ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                                             nullptr, &key, nullptr);
    const RegKey created(key);
    return status;
}

class HubTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
        ASSERT_TRUE(m_monitor.Active());
    }
    void TearDown() override {
        m_hub.Stop();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    }
    std::string Log() const { return ReadFileBytes(m_folder.File(L"VarnelErrors.txt")); }
    bool Logged(const std::string &line) const { return Log().find(line) != std::string::npos; }
    std::string Dir() const { return ToAnsi(m_folder.Path()); }
    std::string Reported() const { return RecorderLines(m_folder, L"varnelerror"); }
    std::string Reporter() const { return "Default|2|\"" + Dir() + "\\varnelerror.exe\" "; }
    // What stand-in switcher N was handed: "ready" at its start, then one line per command.
    std::string Commands(int desk) const {
        return ReadFileBytes(m_folder.File(L"Tavik" + std::to_wstring(desk) + L".rec"));
    }
    // The real relays, and responders standing in for the switchers; `without` is left out.
    bool PopulateWithRelays(const std::wstring &without = L"") const {
        bool ok = HubRun::Populate(m_folder, {L"varnelerror"});
        for (const std::wstring name : {L"Pellum1", L"Pellum2", L"Pellum3", L"Pellum4", L"VarnelEventHandler"})
            ok = (name == without || m_folder.Add(ProgramFolder() + L"\\" + name + L".exe", name + L".exe")) && ok;
        for (int desk = 1; desk <= 4; ++desk)
            ok = m_folder.Add(TestBinDir() + L"\\responder.exe", L"Tavik" + std::to_wstring(desk) + L".exe") && ok;
        return ok;
    }
    bool AllEndWith(const std::string &end, const std::vector<int> &desks = {1, 2, 3, 4}) const {
        return WaitFor([&] { return std::ranges::all_of(desks, [&](int n) { return Commands(n).ends_with(end); }); });
    }
    // The hub's trace of desktop work ends with the switch back, which Wine does not show.
    bool EndsOnDesktop1(DWORD hub) const {
        return WaitFor([&] { return m_monitor.Matching("cDesktop", hub).back() == "cDesktop1: switched to Default"; });
    }
    static void StoreSetting(const char *name, DWORD value, DWORD size = 4) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Varnel", name, REG_DWORD, &value, size);
    }
    static DWORD Stored(const char *key, const char *name) {
        DWORD value = 0xFFFFFFFF, size = sizeof value;
        ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    static DWORD HeldHotKeys() { return Stored(HubStateKey, HeldHotKeysValue); }

    DebugMonitor m_monitor;
    TempFolder m_folder;
    HubRun m_hub{m_folder};
};

}  // namespace

TEST_F(HubTest, AStartResetsTheEventsAndStartsEachProgramOnceInOrder) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    {
        // Elevated while UAC is on, the hub ends before it starts anything.
        const UacOn uac;
        HubRun elevated(m_folder);
        EXPECT_FALSE(elevated.Start(m_monitor));
        EXPECT_TRUE(
            Logged(" Varnel: Varnel was started with administrator rights; it ends without starting anything"
                   "\r\n"))
            << Log();
    }
    {
        // An event name held by another kind of object fails the start before any desktop is touched.
        const KernelHandle squatter(::CreateMutexA(nullptr, FALSE, "Local\\nuvoq_CloseVarnel"));
        HubRun failed(m_folder);
        EXPECT_FALSE(failed.Start(m_monitor));
        EXPECT_TRUE(failed.WaitForExit());
        EXPECT_TRUE(Logged(" Varnel: Failed to create Local\\nuvoq_CloseVarnel\r\n")) << Log();
        EXPECT_TRUE(WaitFor([&] { return Reported() == Reporter() + "10 \r\n" + Reporter() + "2 \r\n"; }))
            << Reported();
        EXPECT_TRUE(m_monitor.Matching("cDesktop").empty());
    }
    // Events left set from an earlier run (their relays gone) would fire as soon as new relays wait.
    std::vector<KernelHandle> stale;
    for (int16_t index = 1; index <= EventCount; ++index)
        stale.emplace_back(::CreateEventA(nullptr, FALSE, TRUE, EventName(index).c_str()));
    // Started on another desktop, the hub starts again on Default, where the relays and this test find its window.
    ASSERT_TRUE(m_hub.Start(m_monitor, L"desk2"));
    EXPECT_TRUE(Logged(" Varnel: Varnel was started on desk2; it starts again on Default and ends here\r\n")) << Log();
    for (int16_t index = 1; index <= EventCount; ++index)
        EXPECT_EQ(::WaitForSingleObject(stale[index - 1].Get(), 0), WAIT_TIMEOUT) << EventName(index);
    EXPECT_TRUE(m_hub.Window() != nullptr && !::IsWindowVisible(m_hub.Window()));
    // It holds all five keys; it says so in a volatile key, and makes the settings key it needs for it a lasting one.
    EXPECT_EQ(HeldHotKeys(), 0x1Fu);
    EXPECT_EQ(CreateLastingKey("Software\\Varnel\\Hub\\Lasting"), ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(CreateLastingKey("Software\\Varnel\\Lasting"), ERROR_SUCCESS);

    const std::string dir = Dir() + "\\", explorer = std::string(std::getenv("windir")) + "\\explorer.exe on desk";
    EXPECT_EQ(m_monitor.Matching("cDesktop", m_hub.ProcessId()),
              (std::vector<std::string>{
                  "cDesktop1: started " + dir + "Pellum1.exe on Default",
                  "cDesktop1: started " + dir + "VarnelEventHandler.exe on Default",
                  "cDesktop1: started " + dir + "Tavik1.exe on Default", "cDesktop2: switched to desk2",
                  "cDesktop2: started " + dir + "Pellum2.exe on desk2", "cDesktop2: started " + explorer + "2",
                  "cDesktop2: started " + dir + "Tavik2.exe on desk2", "cDesktop3: switched to desk3",
                  "cDesktop3: started " + dir + "Pellum3.exe on desk3", "cDesktop3: started " + explorer + "3",
                  "cDesktop3: started " + dir + "Tavik3.exe on desk3", "cDesktop4: switched to desk4",
                  "cDesktop4: started " + dir + "Pellum4.exe on desk4", "cDesktop4: started " + explorer + "4",
                  "cDesktop4: started " + dir + "Tavik4.exe on desk4", "cDesktop1: switched to Default"}));
    // Each program ran once where the trace says, with no arguments (under Wine: its own quoted path, as Wine does).
    for (const std::string &line : m_monitor.Matching("started " + dir, m_hub.ProcessId())) {
        const size_t at = line.find(dir) + dir.size(), on = line.find(".exe on ");
        const std::string program = line.substr(at, on - at), desk = line.substr(on + 8);
        EXPECT_TRUE(WaitFor([&] {
            const std::string lines = RecorderLines(m_folder, ToWide(program));
            return lines == desk + "|-1|\r\n" || lines == desk + "|-1|\"" + dir + program + ".exe\"\r\n";
        })) << line;
    }
    EXPECT_EQ(RunProcess(m_folder.File(L"Varnel.exe"), L""), 0u);
    EXPECT_TRUE(Logged(" Varnel: Varnel is already running; this copy ends.\r\n")) << Log();
    EXPECT_EQ(std::ranges::count(Log(), '\n'), 4) << Log();
}

TEST_F(HubTest, HotKeysTravelThroughTheRelaysCommandsMoveTheStateAndANewHubEndsALeftoverSetButItsShells) {
    // Settings stored before the start count; modifiers stored in one byte ({5}, Alt and Shift, when half read)
    // count as missing: the Windows key. A key another program holds is logged and reported.
    StoreSetting("ShortcutKeyModifiers", MOD_ALT | MOD_SHIFT, 1);
    StoreSetting("ShortcutKeyDesktop4", 'Q');
    const HWND own = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(own, 1, MOD_WIN, '2'));
    ASSERT_TRUE(PopulateWithRelays());
    ASSERT_TRUE(m_hub.Start(m_monitor));
    ASSERT_TRUE(AllEndWith("ready\r\n"));
    const DWORD hub = m_hub.ProcessId();
    EXPECT_TRUE(Logged(" Varnel: Failed to register the following hotkey: WIN + 2\r\n")) << Log();
    EXPECT_TRUE(WaitFor([&] { return Reported() == Reporter() + "5 WIN + 2\r\n"; })) << Reported();
    EXPECT_EQ(HeldHotKeys(), 0x1Du) << "all but the key of desktop 2";

    // Before any switch the previous-desktop key and the shown desktop's key ask nothing (keys come in order).
    PressHotKey(MOD_WIN, VK_OEM_3);
    PressHotKey(MOD_WIN, '1');
    PressHotKey(MOD_WIN, 'Q');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop4: switched to desk4", 2, 10000, hub));
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 2, 10000, hub));
    PressHotKey(MOD_WIN, VK_OEM_3);
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop4: switched to desk4", 3, 10000, hub));
    // Wrong case, a trailing NUL or blank, desktop 5 and the shown one change nothing: the ` key still asks for 3.
    for (const char *word : {"switchtodesktop1", "SwitchToDesktop1 ", "SwitchToDesktop5", "SwitchToDesktop4", ""})
        ASSERT_TRUE(m_hub.Send(word));
    ASSERT_TRUE(m_hub.Send(std::string_view("SwitchToDesktop1\0", 17)));
    PressHotKey(MOD_WIN, VK_OEM_3);
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 3, 10000, hub));
    EXPECT_EQ(Commands(1), "ready\r\nSwitchToDesktop4\r\n");
    EXPECT_EQ(Commands(4), "ready\r\nSwitchToDesktop3\r\nSwitchToDesktop3\r\n");
    EXPECT_EQ(Commands(3), "ready\r\nSwitchToDesktop4\r\n");

    // "ReadRegistry" lets the old keys go and takes the new ones.
    StoreSetting("ShortcutKeyModifiers", MOD_SHIFT | MOD_CONTROL);
    ASSERT_TRUE(m_hub.Send("ReadRegistry"));
    EXPECT_TRUE(::RegisterHotKey(own, 2, MOD_WIN, '1'));
    EXPECT_FALSE(::RegisterHotKey(own, 3, MOD_SHIFT | MOD_CONTROL, '2'));
    ::DestroyWindow(own);  // and its keys
    EXPECT_EQ(HeldHotKeys(), 0x1Fu);
    PressHotKey(MOD_SHIFT | MOD_CONTROL, 'Q');
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop4: switched to desk4", 4, 10000, hub));
    EXPECT_EQ(std::ranges::count(Log(), '\n'), 1) << Log();

    // "EndApp" ends the hub alone, back on desktop 1; the next hub ends the set left running first, not the shells.
    ASSERT_TRUE(m_hub.Send("EndApp"));
    ASSERT_TRUE(m_hub.WaitForExit());
    EXPECT_TRUE(EndsOnDesktop1(hub));
    HKEY state = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, HubStateKey, 0, KEY_READ, &state), ERROR_FILE_NOT_FOUND);
    const RegKey left(state);
    HubRun next(m_folder);
    ASSERT_TRUE(next.Start(m_monitor));
    EXPECT_TRUE(Logged(" Varnel: 9 programs of an earlier set still run; they are ended first\r\n")) << Log();
    EXPECT_TRUE(AllEndWith("EndApp\r\nready\r\n"));
    for (const std::string desk : {"desk2", "desk3", "desk4"}) {
        EXPECT_EQ(m_monitor.Matching("explorer.exe on " + desk).size(), 1u) << desk;
        EXPECT_EQ(m_monitor.Matching("kept the shell running on " + desk).size(), 1u) << desk;
    }
    EXPECT_TRUE(next.Running());
    // One Shutdown, as the control panel gives it, ends the one set.
    for (int16_t index : {45, 7, 17, 27, 37})
        ::SetEvent(KernelHandle(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(index).c_str())).Get());
    EXPECT_TRUE(next.WaitForExit());
    EXPECT_TRUE(AllEndWith("ready\r\nEndApp\r\n"));
    // No program died, and the leftover hub relay's "EndApp" did not wait on the new hub.
    EXPECT_FALSE(Logged("ended with exit code") || Logged(" in time")) << Log();
}

TEST_F(HubTest, AMissingRelayFailsTheStartAMissingSwitcherIsLoggedOnlyAndProgramsThatDieAreStartedAgain) {
    ASSERT_TRUE(PopulateWithRelays(L"Pellum3"));
    const std::string notFound = WinAPIErrorText(ERROR_FILE_NOT_FOUND) + "\r\n";
    // Another program holds WIN + 1, as the taskbar does on Windows: a first start takes the first set free whole,
    // stores it and says so once; the next start keeps it and says nothing.
    const OwnedWindow own(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(::RegisterHotKey(own.Get(), 1, MOD_WIN, '1'));
    const std::string firstStart = Reporter() + "9 CTRL + ALT|F1|F2|F3|F4|F5|WIN + 1\r\n";
    {
        // Desktop 3 fails after desktops 1 and 2 started their programs: the hub tells them to end.
        HubRun failed(m_folder);
        EXPECT_FALSE(failed.Start(m_monitor));
        EXPECT_TRUE(failed.WaitForExit());
        EXPECT_TRUE(Logged(" cDesktop3: cDesktop: " + notFound)) << Log();
        EXPECT_TRUE(WaitFor([&] { return Reported() == firstStart + Reporter() + "3 3\r\n"; })) << Reported();
        EXPECT_TRUE(EndsOnDesktop1(failed.ProcessId()));  // not on desk3
        EXPECT_TRUE(m_monitor.Matching("cDesktop4", failed.ProcessId()).empty());
        // Nothing of the set is left to hold the events, so the control panel's next Start is not refused.
        EXPECT_TRUE(WaitFor([&] { return ChildProcesses(failed.ProcessId(), L"explorer.exe").empty(); }, 20000));
        EXPECT_EQ(Commands(1) + Commands(2) + Commands(3), "ready\r\nEndApp\r\nready\r\nEndApp\r\n");
        for (int16_t index = 1; index <= EventCount; ++index)
            EXPECT_FALSE(KernelHandle(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str()))) << index;
    }
    const char *values[] = {"ShortcutKeyModifiers", "ShortcutKeyDesktop1", "ShortcutKeyDesktop2",
                            "ShortcutKeyDesktop3",  "ShortcutKeyDesktop4", "ShortcutKeyPreviousDesktop"};
    const DWORD stored[] = {MOD_CONTROL | MOD_ALT, VK_F1, VK_F2, VK_F3, VK_F4, VK_F5};
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(Stored("Software\\Varnel", values[i]), stored[i]) << values[i];
    // With the relay back and desktop 2's switcher missing, the start goes on: logged, not reported (below).
    ASSERT_TRUE(m_folder.Add(ProgramFolder() + L"\\Pellum3.exe", L"Pellum3.exe"));
    ASSERT_TRUE(::DeleteFileW(m_folder.File(L"Tavik2.exe").c_str()));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    ASSERT_TRUE(AllEndWith("ready\r\n", {1, 3, 4}));
    EXPECT_TRUE(Logged(" cDesktop2: Failed to start " + Dir() + "\\Tavik2.exe: " + notFound)) << Log();
    const DWORD hub = m_hub.ProcessId();
    // The shown desktop's relay dies: it is back at once and, once it waits, the next hot key switches.
    const size_t relayStarts = m_monitor.Matching("Pellum1: waiting").size();
    ASSERT_TRUE(KillProcess(L"Pellum1.exe"));
    EXPECT_TRUE(m_monitor.WaitFor("Varnel: Pellum1.exe on desktop 1 ended with exit code 1; it is started again"));
    EXPECT_TRUE(m_monitor.WaitFor("Pellum1: waiting", relayStarts + 1));
    PressHotKey(MOD_CONTROL | MOD_ALT, VK_F3);
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop3: switched to desk3", 2, 3000, hub));
    EXPECT_EQ(Commands(1), "ready\r\nEndApp\r\nready\r\nSwitchToDesktop3\r\n");

    // Desktop 3's shell dies: one new shell is started there.
    DWORD shell = 0;
    ASSERT_TRUE(WaitFor([&] { return (shell = ShellOn(L"desk3", hub)) != 0; }));
    ASSERT_TRUE(::TerminateProcess(KernelHandle(::OpenProcess(PROCESS_TERMINATE, FALSE, shell)).Get(), 1));
    EXPECT_TRUE(m_monitor.WaitFor("Varnel: explorer.exe on desktop 3 ended with exit code 1; it is started again"));
    EXPECT_TRUE(WaitFor([&] { return ShellOn(L"desk3", hub) != 0 && ShellOn(L"desk3", hub) != shell; }));
    EXPECT_EQ(m_monitor.Matching("explorer.exe on desk3", hub).size(), 2u);

    // While the session may end, a program that ends is let go; when the session goes on, it is started again.
    DWORD_PTR answer = FALSE;
    ASSERT_TRUE(::SendMessageTimeoutW(m_hub.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                      &answer));
    EXPECT_EQ(answer, DWORD_PTR{TRUE});
    ASSERT_TRUE(KillProcess(L"Pellum2.exe"));
    ASSERT_TRUE(m_hub.Send(""));  // a hub still watching deals with the end before this message
    EXPECT_FALSE(Logged("Pellum2.exe on desktop 2 ended")) << Log();
    ASSERT_TRUE(::SendMessageTimeoutW(m_hub.Window(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                      &answer));
    EXPECT_TRUE(m_monitor.WaitFor("Varnel: Pellum2.exe on desktop 2 ended with exit code 1; it is started again"));

    // Desktop 3's switcher dies four times: started again three times, then reported once and left.
    for (size_t death = 1; death <= 4; ++death) {
        ASSERT_TRUE(WaitFor([&] { return Commands(3).size() == death * 7; })) << death;  // "ready\r\n" each
        ASSERT_TRUE(KillProcess(L"Tavik3.exe")) << death;
        ASSERT_TRUE(m_monitor.WaitFor("Varnel: Tavik3.exe on desktop 3 ended with exit code 1", death)) << death;
    }
    EXPECT_TRUE(m_monitor.WaitFor("; it died 4 times within a minute and is not started again"));
    EXPECT_TRUE(WaitFor([&] {
        return Reported() == firstStart + Reporter() + "3 3\r\n" + Reporter() + "8 Tavik3.exe\r\n";
    })) << Reported();

    // With nobody to ask, the hub switches by itself, without a picture, half a second after the key.
    PressHotKey(MOD_CONTROL | MOD_ALT, VK_F2);
    EXPECT_TRUE(m_monitor.WaitFor("cDesktop2: switched to desk2", 2, 3000, hub));
    EXPECT_TRUE(Logged("Switcher 3 did not ask for desktop 2 within 500 ms; switching without its picture")) << Log();
    EXPECT_EQ(std::ranges::count(Log(), '\n'), 14) << Log();  // and relay 3 dropped the request
    EXPECT_TRUE(ProcessIdsOf(L"Tavik3.exe").empty());
}
