// The settings window driven as a user drives it: what it shows of stored settings and what a save writes, the
// keyboard, the hot-key rows and their recording dialog, Start and Shutdown, and its layout at 120 DPI.
#include "AnsiText.h"
#include "ControlIds.h"
#include "Dpi.h"
#include "Fonts.h"
#include "PanelDriver.h"
#include "PanelRules.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace ControlId;

class PanelTest : public ::testing::Test {
protected:
    PanelTest() { ClearSettings(); }
    ~PanelTest() override { ClearSettings(); }
    const TempFolder m_folder;
    const std::string m_hubQuoted = ToAnsi(L'"' + m_folder.File(L"Varnel.exe") + L'"');  // as the panel starts it
};

// The texts of `count` controls from `first` on.
std::vector<std::string> Texts(const PanelProcess &panel, int first, int count) {
    std::vector<std::string> texts;
    for (int id = first; id < first + count; ++id)
        texts.push_back(panel.Text(id));
    return texts;
}

// Every control that shows a setting, as one comparable picture.
struct Shown {
    std::vector<bool> ticked;  // transparency, autostart, ALT, CTRL, SHIFT, WIN
    std::vector<std::string> names, keys;
    bool operator==(const Shown &) const = default;
};

Shown Read(const PanelProcess &panel) {
    Shown shown;
    for (const int box : {CheckTransparency, CheckAutoStart, CheckAlt, CheckCtrl, CheckShift, CheckWin})
        shown.ticked.push_back(panel.Checked(box));
    shown.keys = Texts(panel, LabelRecord, 5);
    shown.names = Texts(panel, TextDeskName, 4);
    return shown;
}

bool FocusComesTo(const PanelProcess &panel, int id) {
    const DWORD thread = ::GetWindowThreadProcessId(panel.Form(), nullptr);
    GUITHREADINFO info = {sizeof info, 0, {}, {}, {}, {}, {}, {}, {}};
    return WaitFor([&] { return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus == panel.Control(id); });
}

// Characters as a keyboard layout of any script delivers them (VK_PACKET), one UTF-16 unit at a time.
void Type(const std::wstring &text) {
    for (const wchar_t unit : text) {
        INPUT keys[2] = {{INPUT_KEYBOARD, {.ki = {0, unit, KEYEVENTF_UNICODE, 0, 0}}},
                         {INPUT_KEYBOARD, {.ki = {0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, 0, 0}}}};
        ::SendInput(2, keys, sizeof(INPUT));
    }
}

// Fails the test when the shown control cuts its caption in its font at 120 DPI; counts the captions checked.
BOOL CALLBACK ExpectCaptionInside(HWND control, LPARAM checked) {
    constexpr int dpi = 120;
    const std::wstring caption = WideWindowText(control);
    char kind[16] = {};
    ::GetClassNameA(control, kind, sizeof kind);
    if (!::IsWindowVisible(control) || caption.empty() || _stricmp(kind, "Edit") == 0)
        return TRUE;
    const int id = ::GetDlgCtrlID(control);
    const GdiObject<HFONT> font = PointFont("Tahoma", id >= cmdRecordKey1 && id < cmdRecordKey1 + 5 ? 825 : 900,
                                            id >= LabelRecord && id < LabelRecord + 5, dpi);
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    RECT text = {};
    ::DrawTextW(screen.Get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    RECT room = {};
    ::GetClientRect(control, &room);
    // A check box or group box gives its box or line, a push button its edges.
    const LONG style = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (_stricmp(kind, "Button") == 0)
        room.right -= style == BS_AUTOCHECKBOX || style == BS_GROUPBOX ? ScaleForDpi(16, dpi) : 2 * ScaleForDpi(3, dpi);
    EXPECT_LE(text.right, room.right) << "control " << id << " cuts its caption";
    EXPECT_LE(text.bottom, room.bottom) << "control " << id << " is lower than its caption";
    ++*reinterpret_cast<int *>(checked);
    return TRUE;
}

// A program this test starts, ended with it whatever the test's outcome.
struct EndedAtExit {
    KernelHandle process;
    ~EndedAtExit() { ::TerminateProcess(process.Get(), 0); }
};

std::wstring SystemFile(const wchar_t *name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

using ClassSearch = std::pair<const wchar_t *, bool>;  // the class sought, and whether a shown window has it

BOOL CALLBACK MatchShownClass(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<ClassSearch *>(context);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    const bool shown = (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    search->second = search->second || (shown && std::wstring(name) == search->first);
    return TRUE;
}

bool ShowsWindow(const wchar_t *desktopName, const wchar_t *windowClass) {
    ClassSearch search{windowClass, false};
    const Desktop desktop(::OpenDesktopW(desktopName, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE));
    if (desktop)
        ::EnumDesktopWindows(desktop.Get(), MatchShownClass, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// All a message box says: the texts of its static controls.
std::wstring BoxText(HWND box) {
    std::wstring text;
    for (HWND part = nullptr; (part = ::FindWindowExA(box, part, "Static", nullptr)) != nullptr;)
        text += WideWindowText(part);
    return text;
}

}  // namespace

TEST_F(PanelTest, StoredSettingsShowOddOnesAsDefaultsAndASaveWritesWhatIsShownTyped) {
    WriteDword(SettingsKeyPath, "ShortcutKeyModifiers", 16);  // no modifier set: WIN
    WriteString(SettingsKeyPath, "GUItransparency", "0");     // a string where a DWORD belongs
    WriteDword(SettingsKeyPath, "Desktop1Name", 5);           // a DWORD where a string belongs
    WriteString(SettingsKeyPath, "Desktop2Name", "%TEMP%", REG_EXPAND_SZ);
    WriteString(SettingsKeyPath, "Desktop3Name", "");
    WriteString(SettingsKeyPath, "ShortcutKeyDesktop1", "65");
    WriteDword(SettingsKeyPath, "ShortcutKeyDesktop2", 0x10033);  // only the low 16 bits count
    WriteString(RunKeyPath, "Varnel", "x", REG_EXPAND_SZ);        // not Varnel's: autostart is off
    std::vector<KernelHandle> events;  // the hub and the switchers re-read the settings when these are set
    for (const int16_t index : ReReadEvents)
        events.emplace_back(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
    const std::vector<std::string> keys = {"1", "3", "3", "4", "`"};
    // A stand-in for the hub re-reads the moment its event comes: the save's last values are written by then.
    std::string hubRead;
    std::thread hub([&] {
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        if (::WaitForSingleObject(events[0].Get(), 30000) == WAIT_OBJECT_0)
            hubRead = Saved("Desktop4Name") + "|" + Saved("ShortcutKeyPreviousDesktop");
    });
    {
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        const std::vector<std::string> names = {"Desktop 1", "Desktop 2", "", "Desktop 4"};
        EXPECT_EQ(Read(panel), (Shown{{true, false, false, false, false, true}, names, keys}));
        // Presses from left to right along the strip select each tab in turn.
        std::vector<int> pages;
        for (int x = 0; x < 497; x += 24) {
            panel.PressTabStrip(x);
            if (const int page = panel.ShownPage(); pages.empty() || page != pages.back())
                pages.push_back(page);
        }
        EXPECT_EQ(pages, (std::vector<int>{0, 1, 2}));
        for (const int box : {CheckTransparency, CheckAutoStart, CheckAlt, CheckCtrl, CheckShift, CheckWin})
            panel.SetChecked(box, !panel.Checked(box));
        panel.SetText(TextDeskName + 0, "Mail");
        panel.SetText(TextDeskName + 2, " Web & Chat ");
        panel.SetText(TextDeskName + 3, "50% off %TEMP%");
        panel.Click(SaveExit);
        ASSERT_TRUE(panel.WaitForExit());
    }
    hub.join();
    EXPECT_EQ(hubRead, "50% off %TEMP%|192");
    for (const KernelHandle &event : events)
        EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), event.Get() == events[0].Get() ? WAIT_TIMEOUT : WAIT_OBJECT_0);
    EXPECT_EQ(RunValue(), m_hubQuoted);

    // Read back as saved, each value in its type; unticking autostart takes the Run value away.
    PanelProcess again(m_folder);
    ASSERT_TRUE(again.Started());
    const std::vector<std::string> names = {"Mail", "Desktop 2", " Web & Chat ", "50% off %TEMP%"};
    EXPECT_EQ(Read(again), (Shown{{false, true, true, true, true, false}, names, keys}));
    // A stand-in for switcher 1 finds the save done and the hub's event set before its own.
    bool hubFirst = false, runGone = false;
    std::thread switcher([&] {
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        if (::WaitForSingleObject(events[1].Get(), 30000) == WAIT_OBJECT_0) {
            runGone = !RunValue();
            hubFirst = ::WaitForSingleObject(events[0].Get(), 0) == WAIT_OBJECT_0;
        }
    });
    again.SetChecked(CheckAutoStart, false);
    again.Click(SaveExit);
    ASSERT_TRUE(again.WaitForExit());
    switcher.join();
    EXPECT_TRUE(runGone);
    EXPECT_TRUE(hubFirst);
    EXPECT_EQ(RunValue(), std::nullopt);
}

TEST_F(PanelTest, KeyboardAloneReachesEveryPageNamesADesktopInAnyScriptRecordsAKeySavesAndEscapeLeaves) {
    constexpr int kAlt = 1, kCtrl = 2, kShift = 4;
    // Cyrillic, CJK and an emoji (two UTF-16 units).
    const std::wstring name = L"\u0420\u0430\u0431\u043e\u0442\u0430 \u65e5\u672c \U0001F600";
    {
        // Nothing stored and WIN + 1 taken, as Windows' taskbar takes it: the keys a first start would take.
        ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_WIN, '1'));
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        EXPECT_EQ(Read(panel).keys, (std::vector<std::string>{"F1", "F2", "F3", "F4", "F5"}));
        EXPECT_EQ(Read(panel).ticked, (std::vector<bool>{true, false, true, true, false, false})) << "CTRL + ALT";
        ASSERT_TRUE(FocusComesTo(panel, CheckAutoStart)) << "the focus does not start on the page's first control";
        PressHotKey(kShift, VK_TAB);
        ASSERT_TRUE(FocusComesTo(panel, Tab1)) << "the tab strip does not take the focus";
        PressHotKey(0, VK_RIGHT);
        PressHotKey(0, VK_RIGHT);
        ASSERT_TRUE(panel.ShowsPage(2));
        PressHotKey(kAlt, '2');
        ASSERT_TRUE(FocusComesTo(panel, TextDeskName + 1)) << "Alt+2 does not reach the second name";
        PressHotKey(0, VK_HOME);
        PressHotKey(kShift, VK_END);
        Type(name);
        ASSERT_TRUE(WaitFor([&] { return WideWindowText(panel.Control(TextDeskName + 1)) == name; }, 5000));

        // Back a page from the name box, then record F7 for desktop 1 with Alt+1 and Enter.
        PressHotKey(kCtrl | kShift, VK_TAB);
        ASSERT_TRUE(panel.ShowsPage(1));
        EXPECT_TRUE(FocusComesTo(panel, CheckWin)) << "focus lost with the page it was in";
        PressHotKey(kAlt, '1');
        ASSERT_TRUE(FocusComesTo(panel, cmdRecordKey1));
        PressHotKey(0, VK_RETURN);
        const HWND dialog = panel.WaitForWindow("ControlPanel.Dialog", "Record shortcut key");
        ASSERT_NE(dialog, nullptr) << "Enter on Record key did not open the dialog";
        PressHotKey(0, VK_F7);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));

        // Ctrl+Tab goes on to page 3 and round to page 1; Enter there saves and ends the panel.
        PressHotKey(kCtrl, VK_TAB);
        ASSERT_TRUE(panel.ShowsPage(2));
        PressHotKey(kCtrl, VK_TAB);
        ASSERT_TRUE(panel.ShowsPage(0));
        ASSERT_TRUE(FocusComesTo(panel, CheckAutoStart));
        PressHotKey(0, VK_RETURN);
        ASSERT_TRUE(panel.WaitForExit());
    }

    // Key and name come back as given, with the rest of the set shown; Escape leaves without saving the tick given
    // with the space bar.
    PanelProcess again(m_folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(Read(again).keys, (std::vector<std::string>{"F7", "F2", "F3", "F4", "F5"}));
    EXPECT_TRUE(again.Checked(CheckCtrl) && again.Checked(CheckAlt));
    EXPECT_EQ(WideWindowText(again.Control(TextDeskName + 1)), name);
    ASSERT_TRUE(FocusComesTo(again, CheckAutoStart));
    PressHotKey(0, VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return again.Checked(CheckAutoStart); }, 5000));
    PressHotKey(0, VK_ESCAPE);
    ASSERT_TRUE(again.WaitForExit());
    EXPECT_EQ(RunValue(), std::nullopt) << "Escape saved";
}

// Beside each row the panel says what its combination meets: another row's key, a program holding it (this test
// stands in for one), Varnel itself (the running hub says it holds it; this test stands in for the hub), or
// nothing.
TEST_F(PanelTest, ARowsDialogRecordsItsKeyAndEachRowSaysWhetherItsKeyIsFree) {
    WriteDword(SettingsKeyPath, "ShortcutKeyModifiers", MOD_CONTROL | MOD_ALT);
    const DWORD keys[] = {VK_F8, VK_F8, VK_F10, VK_F12};
    for (int i = 0; i < 4; ++i)
        WriteDword(SettingsKeyPath, ("ShortcutKeyDesktop" + std::to_string(i + 1)).c_str(), keys[i]);
    WriteDword(SettingsKeyPath, "ShortcutKeyPreviousDesktop", VK_F11);
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9));   // another program's
    ASSERT_TRUE(::RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, VK_F11));  // the running hub's
    ASSERT_TRUE(::RegisterHotKey(nullptr, 3, MOD_CONTROL | MOD_ALT, VK_F12));  // another's: the hub was refused it
    const KernelHandle hub(::CreateEventA(nullptr, FALSE, FALSE, EventName(ReReadEvents[0]).c_str()));
    WriteHeldHotKeys(0b10001);  // desktop 1's F8 and the previous desktop's F11
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    ::SendMessageA(panel.Form(), WM_COMMAND, ControlId::NextPage, 0);
    auto statuses = [&](std::vector<std::string> expected) {
        return WaitFor([&] { return Texts(panel, LabelStatus, 5) == expected; });
    };
    const std::string other = "Held by another program";
    EXPECT_TRUE(statuses({"Same as Desktop 2", "Same as Desktop 1", "Free", other, "In use by Varnel"}));

    // F9 recorded for desktop 2: desktop 1's F8 is its own again, and F9 is the other program's.
    panel.Click(cmdRecordKey1 + 1);
    const HWND dialog = panel.WaitForWindow("ControlPanel.Dialog", "Record shortcut key");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ToAnsi(WideWindowText(::GetDlgItem(dialog, DialogLabel1))), RecordPrompt(2));
    EXPECT_FALSE(::IsWindowEnabled(panel.Form())) << "the settings window must wait for the dialog";
    const HWND cancel = ::GetDlgItem(dialog, CancelButton);
    ::PostMessageA(cancel, WM_KEYUP, VK_RETURN, 0xC0000001);  // the release of the key that opened it
    ::PostMessageA(cancel, WM_KEYDOWN, VK_F9, 1);
    ::PostMessageA(cancel, WM_KEYUP, VK_F9, 0xC0000001);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(statuses({"Free", other, "Free", other, "In use by Varnel"}));

    // Without CTRL the combinations are others: nobody holds ALT + F9, the hub holds CTRL + ALT + F11 only.
    panel.Click(CheckCtrl);
    EXPECT_TRUE(statuses(std::vector<std::string>(5, "Free")));
}

TEST_F(PanelTest, StartRefusesWhileVarnelRunsOrStartsTheHubAndShutdownAsksFirstThenClosesWhatRunsHubFirst) {
    const DebugMonitor trace;
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    {
        // The hub and switchers 2 and 4 run; 1 and 3 do not.
        std::vector<KernelHandle> running;
        for (const size_t i : {0, 2, 4})
            running.emplace_back(::CreateEventA(nullptr, FALSE, FALSE, EventName(ShutdownEvents[i]).c_str()));
        panel.Click(cmdStart);
        const HWND box = panel.WaitForWindow("#32770", "VarnelControlPanel");
        ASSERT_NE(::FindWindowExA(box, nullptr, "Static", "Varnel is are already running."), nullptr);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));

        // A window on desktop 3 would be out of reach after Shutdown: the panel names it, and Cancel keeps the set.
        WriteString(SettingsKeyPath, "Desktop3Name", "Mail");
        const EndedAtExit notepad{StartProcess(SystemFile(L"notepad.exe"), L"notepad.exe", L"desk3")};
        ASSERT_TRUE(WaitFor([] { return ShowsWindow(L"desk3", L"Notepad"); }))
            << "WaitForInputIdle waits for none in Wine";
        for (const int answer : {IDCANCEL, IDOK}) {
            panel.Click(cmdStop);
            const HWND question = panel.WaitForWindow("#32770", "Varnel Control Panel");
            ASSERT_NE(question, nullptr);
            EXPECT_NE(BoxText(question).find(L"\u2022 Untitled - Notepad (Mail)\n"), std::wstring::npos);
            ::PostMessageA(question, WM_COMMAND, answer, 0);
            ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
        }
        const std::string set = "ControlPanel: set Local\\nuvoq_Close";
        WaitFor([&] { return trace.Matching("ControlPanel: set", panel.Id()).size() >= 3; }, 5000);
        const std::vector<std::string> closed = {set + "Varnel", set + "Switcher2", set + "Switcher4"};
        EXPECT_EQ(trace.Matching("ControlPanel: set", panel.Id()), closed);
        for (const KernelHandle &event : running)
            EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0);
    }
    EXPECT_EQ(RecorderLines(m_folder, L"Varnel"), "") << "the hub was started although Varnel ran";
    // Nothing runs: the hub starts by its full path, quoted, and the panel keeps no event.
    panel.Click(cmdStart);
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"Varnel").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"Varnel"), "Default|2|" + m_hubQuoted + "\r\n");
    EXPECT_FALSE(KernelHandle(::OpenEventA(SYNCHRONIZE, FALSE, EventName(ShutdownEvents[0]).c_str())));
}

TEST_F(PanelTest, At120DpiTheWindowScalesAndNoCaptionIsCut) {
    const PrefixDpi dpi(120);
    WriteDword(SettingsKeyPath, "ShortcutKeyModifiers", MOD_WIN);  // stored: WIN + 1..4 and WIN + `
    // The longest statuses there are: Windows' (its taskbar takes WIN + 1) and another program's.
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_WIN, '1'));
    ASSERT_TRUE(::RegisterHotKey(nullptr, 2, MOD_WIN, VK_OEM_3));
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    RECT client = {};
    ::GetClientRect(panel.Form(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(495, 120));
    EXPECT_EQ(client.bottom, ScaleForDpi(343, 120));
    for (int page = 0; page < 3; ++page) {
        ::SendMessageA(panel.Form(), WM_COMMAND, page == 0 ? 0 : ControlId::NextPage, 0);
        int checked = 0;
        ::EnumChildWindows(panel.Form(), ExpectCaptionInside, reinterpret_cast<LPARAM>(&checked));
        EXPECT_GE(checked, 4) << "page " << page;
    }
    EXPECT_EQ(Texts(panel, LabelStatus, 5),
              (std::vector<std::string>{"Windows' taskbar key", "Free", "Free", "Free", "Held by another program"}));
}
