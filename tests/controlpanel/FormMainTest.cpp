// The settings window against the registry of the test prefix: what it shows at load, what a save writes,
// in which order, and what a failing write leaves in the error log and the reporter's records.
#include "AnsiText.h"
#include "ControlIds.h"
#include "DebugMonitor.h"
#include "PanelDriver.h"
#include "WinAPIError.h"

#include <gtest/gtest.h>

namespace {

class FormMainTest : public ::testing::Test {
protected:
    SettingsSandbox m_sandbox;
    TempFolder m_folder;

    std::string Log() const { return ReadFileBytes(m_folder.File(L"VarnelErrors.txt")); }
    std::string HubRunData() const {
        // Appended, not added up: GCC 12 misreads the sum as an overlapping copy (-Wrestrict).
        std::string data(1, '"');
        data += ToAnsi(m_folder.File(L"Varnel.exe"));
        data += '"';
        return data;
    }

    // Every control that shows a setting, as one comparable picture.
    struct Shown {
        bool transparency, autoStart, alt, ctrl, shift, win;
        std::vector<std::string> names;
        std::vector<std::string> keys;
        bool operator==(const Shown &) const = default;
    };
    static Shown Read(const PanelProcess &panel) {
        Shown shown{panel.Checked(ControlId::CheckTransparency),
                    panel.Checked(ControlId::CheckAutoStart),
                    panel.Checked(ControlId::CheckAlt),
                    panel.Checked(ControlId::CheckCtrl),
                    panel.Checked(ControlId::CheckShift),
                    panel.Checked(ControlId::CheckWin),
                    {},
                    {}};
        for (int i = 0; i < 4; ++i)
            shown.names.push_back(panel.Text(ControlId::TextDeskName + i));
        for (int i = 0; i < 5; ++i)
            shown.keys.push_back(panel.Text(ControlId::LabelRecord + i));
        return shown;
    }
};

// The key names of the defaults in this prefix's layout (1, 2, 3, 4 and the key left of 1).
const std::vector<std::string> kDefaultKeyNames = {"1", "2", "3", "4", "`"};
const std::vector<std::string> kDefaultNames = {"Desktop 1", "Desktop 2", "Desktop 3", "Desktop 4"};

}  // namespace

TEST_F(FormMainTest, WithoutSettingsKeyEveryDefaultShowsAndTheRunValueIsNotLookedAt) {
    WriteString(RunKeyPath, "Varnel", "C:\\elsewhere\\Varnel.exe");
    {
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        const Shown expected{true, false, false, false, false, true, kDefaultNames, kDefaultKeyNames};
        EXPECT_EQ(Read(panel), expected);
        EXPECT_TRUE(panel.Visible(ControlId::FrameGeneral));
        EXPECT_FALSE(panel.Visible(ControlId::FrameShortcutKeys));
        EXPECT_FALSE(panel.Visible(ControlId::FrameDeskNames));
        panel.Click(ControlId::NoSaveExit);
        ASSERT_TRUE(panel.WaitForExit());
    }
    EXPECT_FALSE(ReadStored(SettingsKeyPath, "GUItransparency").has_value()) << "leaving without saving wrote";
    EXPECT_EQ(ReadStored(RunKeyPath, "Varnel")->Text(), "C:\\elsewhere\\Varnel.exe");
}

TEST_F(FormMainTest, SavingTheDefaultsCreatesTheKeyAndLeavesAnAbsentRunValueAlone) {
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    ASSERT_TRUE(panel.SaveAndExit());
    const struct {
        const char *name;
        DWORD number;
    } numbers[] = {{"GUItransparency", 1},      {"ShortcutKeyModifiers", 8},  {"ShortcutKeyDesktop1", 49},
                   {"ShortcutKeyDesktop2", 50}, {"ShortcutKeyDesktop3", 51}, {"ShortcutKeyDesktop4", 52},
                   {"ShortcutKeyPreviousDesktop", 192}};
    for (const auto &n : numbers) {
        const auto stored = ReadStored(SettingsKeyPath, n.name);
        ASSERT_TRUE(stored.has_value()) << n.name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD)) << n.name;
        EXPECT_EQ(stored->Number(), n.number) << n.name;
    }
    for (int i = 0; i < 4; ++i) {
        const std::string name = "Desktop" + std::to_string(i + 1) + "Name";
        const auto stored = ReadStored(SettingsKeyPath, name.c_str());
        ASSERT_TRUE(stored.has_value()) << name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->Text(), kDefaultNames[static_cast<size_t>(i)]);
    }
    EXPECT_FALSE(ReadStored(RunKeyPath, "Varnel").has_value());
    EXPECT_EQ(Log(), "") << "nothing failed, so nothing is logged";
}

TEST_F(FormMainTest, OddStoredValuesShowTheirDefaults) {
    const struct {
        DWORD modifiers;
        bool win;
    } cases[] = {{16, true}, {0xFFFFFFFF, true}, {0, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE("ShortcutKeyModifiers " + std::to_string(static_cast<int32_t>(c.modifiers)));
        CreateSettingsKey();
        WriteDword(SettingsKeyPath, "ShortcutKeyModifiers", c.modifiers);
        WriteString(SettingsKeyPath, "GUItransparency", "0");               // a string where a DWORD belongs
        WriteDword(SettingsKeyPath, "Desktop1Name", 5);                     // a DWORD where a string belongs
        WriteString(SettingsKeyPath, "Desktop2Name", "%TEMP%", REG_EXPAND_SZ);
        WriteRaw(SettingsKeyPath, "Desktop3Name", REG_SZ, "", 1);           // a single NUL: the empty name
        WriteString(SettingsKeyPath, "ShortcutKeyDesktop1", "65");
        WriteDword(SettingsKeyPath, "ShortcutKeyDesktop2", 0x10033);        // only the low 16 bits count
        WriteString(RunKeyPath, "Varnel", "x", REG_EXPAND_SZ);
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        const Shown expected{true,  false, false, false, false, c.win, {"Desktop 1", "Desktop 2", "", "Desktop 4"},
                             {"1", "3", "3", "4", "`"}};
        EXPECT_EQ(Read(panel), expected);
        // Saved back as shown; the Run value of the wrong type goes, as autostart shows unticked.
        ASSERT_TRUE(panel.SaveAndExit());
        EXPECT_EQ(ReadStored(SettingsKeyPath, "ShortcutKeyModifiers")->Number(), c.win ? 8u : 0u);
        EXPECT_EQ(ReadStored(SettingsKeyPath, "ShortcutKeyDesktop2")->Number(), 0x33u);
        EXPECT_FALSE(ReadStored(RunKeyPath, "Varnel").has_value());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath);
    }
}

TEST_F(FormMainTest, SaveWritesWhatIsShownWithItsTypesAndNamesReadBackExactly) {
    {
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        panel.SetChecked(ControlId::CheckTransparency, false);
        panel.SetChecked(ControlId::CheckAutoStart, true);
        panel.SetChecked(ControlId::CheckWin, false);
        for (int id : {ControlId::CheckAlt, ControlId::CheckCtrl, ControlId::CheckShift})
            panel.SetChecked(id, true);
        panel.SetText(ControlId::TextDeskName + 0, "Mail");
        panel.SetText(ControlId::TextDeskName + 1, "");
        panel.SetText(ControlId::TextDeskName + 2, " Web & Chat ");
        panel.SetText(ControlId::TextDeskName + 3, "50% off %TEMP%");
        ASSERT_TRUE(panel.SaveAndExit());
    }
    const auto run = ReadStored(RunKeyPath, "Varnel");
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(run->Text(), HubRunData());
    EXPECT_EQ(ReadStored(SettingsKeyPath, "GUItransparency")->Number(), 0u);
    EXPECT_EQ(ReadStored(SettingsKeyPath, "ShortcutKeyModifiers")->Number(), 7u);
    const char *names[] = {"Mail", "", " Web & Chat ", "50% off %TEMP%"};
    for (int i = 0; i < 4; ++i) {
        const std::string name = "Desktop" + std::to_string(i + 1) + "Name";
        const auto stored = ReadStored(SettingsKeyPath, name.c_str());
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << name << " must not become expandable";
        EXPECT_EQ(stored->Text(), names[i]);
    }

    PanelProcess again(m_folder);
    ASSERT_TRUE(again.Started());
    const Shown expected{false, true, true, true, true, false, {"Mail", "", " Web & Chat ", "50% off %TEMP%"},
                         kDefaultKeyNames};
    EXPECT_EQ(Read(again), expected);
}

TEST_F(FormMainTest, SaveSetsTheFiveReReadEventsHubFirst) {
    std::vector<KernelHandle> events;
    for (const char *name : {"ReadRegVarnel", "ReadRegSwitcher1", "ReadRegSwitcher2", "ReadRegSwitcher3",
                             "ReadRegSwitcher4"})
        events.emplace_back(::CreateEventA(nullptr, FALSE, FALSE, (std::string("Local\\nuvoq_") + name).c_str()));
    DebugMonitor trace;
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    ASSERT_TRUE(panel.SaveAndExit());
    ASSERT_TRUE(WaitFor([&] { return PanelTrace(trace, panel.Id()).size() >= 5; }, 5000));
    const std::vector<std::string> expected = {
        "ControlPanel: set Local\\nuvoq_ReadRegVarnel",    "ControlPanel: set Local\\nuvoq_ReadRegSwitcher1",
        "ControlPanel: set Local\\nuvoq_ReadRegSwitcher2", "ControlPanel: set Local\\nuvoq_ReadRegSwitcher3",
        "ControlPanel: set Local\\nuvoq_ReadRegSwitcher4"};
    EXPECT_EQ(PanelTrace(trace, panel.Id()), expected);
    for (const KernelHandle &event : events)
        EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0) << "an event was traced but not set";
}

TEST_F(FormMainTest, FailedWritesAreLoggedAndReportedOneByOneAndTheSaveGoesOn) {
    CreateSettingsKey();
    DenyWrites(SettingsKeyPath);
    DenyWrites(RunKeyPath);
    KernelHandle hub(::CreateEventA(nullptr, FALSE, FALSE, "Local\\nuvoq_ReadRegVarnel"));
    {
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        panel.SetChecked(ControlId::CheckAutoStart, true);
        ASSERT_TRUE(panel.SaveAndExit());
    }
    EXPECT_EQ(::WaitForSingleObject(hub.Get(), 0), WAIT_OBJECT_0) << "the events are set after failed writes";

    const std::string reason = WinAPIErrorText(ERROR_ACCESS_DENIED) + ")";
    const std::string write = "ControlPanel: Unable to write value ";
    const std::string to = " to registry key HKEY_CURRENT_USER\\Software\\Varnel (";
    std::vector<std::string> expected = {
        write + "GUItransparency" + to,
        "ControlPanel: Unable to set registry value in "
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run (",
    };
    for (const char *name : {"Desktop1Name", "Desktop2Name", "Desktop3Name", "Desktop4Name", "ShortcutKeyModifiers",
                             "ShortcutKeyDesktop1", "ShortcutKeyDesktop2", "ShortcutKeyDesktop3",
                             "ShortcutKeyDesktop4", "ShortcutKeyPreviousDesktop"})
        expected.push_back(write + name + to);

    const std::string log = Log();
    size_t at = 0;
    for (const std::string &message : expected) {
        // Each entry: date and time, a blank, the message with the registry's reason, CR LF.
        const size_t found = log.find(" " + message + reason + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << message << "\nlog:\n" << log;
        at = found + 1;
    }
    size_t entries = 0;
    for (size_t pos = log.find("ControlPanel: "); pos != std::string::npos; pos = log.find("ControlPanel: ", pos + 1))
        ++entries;
    EXPECT_EQ(entries, expected.size());

    const std::string reporter = "Default|2|\"" + ToAnsi(m_folder.File(L"varnelerror.exe")) + "\" 7 \r\n";
    std::string reports;
    EXPECT_TRUE(WaitFor([&] {
        reports = RecorderLines(m_folder, L"varnelerror");
        return reports.size() >= reporter.size() * expected.size();
    }));
    std::string all;
    for (size_t i = 0; i < expected.size(); ++i)
        all += reporter;
    EXPECT_EQ(reports, all);
}

TEST_F(FormMainTest, TabPressesShowOnePageAtATime) {
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    const std::vector<int> lefts = PanelTabLefts();
    const int pages[] = {ControlId::FrameGeneral, ControlId::FrameShortcutKeys, ControlId::FrameDeskNames};
    auto shown = [&](int page) {
        return WaitFor([&] {
            for (int i = 0; i < 3; ++i)
                if (panel.Visible(pages[i]) != (i == page))
                    return false;
            return true;
        });
    };
    const struct {
        int x;
        int page;  // the page shown afterwards
    } presses[] = {
        {lefts[1] + 1, 1}, {lefts[2], 1},  // exactly on a tab's left edge: nothing changes
        {lefts[2] + 1, 2}, {lefts[2] + 1, 2}, {lefts[0] + 1, 0},
        {lefts[3], 0},     {lefts[3] + 5, 0},  // at and right of the last tab's end
        {lefts[3] - 1, 2},
    };
    for (const auto &press : presses) {
        panel.PressTab(press.x);
        EXPECT_TRUE(shown(press.page)) << "press at " << press.x;
    }
    // The rows and boxes stay where the pages put them.
    RECT general = {};
    RECT names = {};
    ::GetWindowRect(panel.Control(ControlId::FrameGeneral), &general);
    ::GetWindowRect(panel.Control(ControlId::FrameDeskNames), &names);
    EXPECT_TRUE(::EqualRect(&general, &names));
    RECT client = {};
    ::GetClientRect(panel.Form(), &client);
    EXPECT_EQ(client.right, 495);
    EXPECT_EQ(client.bottom, 343);
}

namespace {

// The control that has the keyboard focus in the panel.
HWND FocusOf(const PanelProcess &panel) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(panel.Form(), nullptr), &info);
    return info.hwndFocus;
}

// Characters as a keyboard layout of any script delivers them (VK_PACKET), one UTF-16 unit at a time.
void Type(const std::wstring &text) {
    for (const wchar_t unit : text) {
        INPUT keys[2] = {};
        for (INPUT &key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
    }
}

std::wstring StoredWide(const wchar_t *name) {
    wchar_t text[256] = {};
    DWORD size = sizeof text;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Varnel", name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

}  // namespace

TEST_F(FormMainTest, KeyboardAloneReachesPageThreeNamesADesktopInAnyScriptRecordsAKeySavesAndEscapeLeaves) {
    constexpr int kAlt = 1, kCtrl = 2, kShift = 4;
    // Cyrillic, CJK and an emoji (two UTF-16 units).
    const std::wstring name = L"\u0420\u0430\u0431\u043e\u0442\u0430 \u65e5\u672c \U0001F600";
    {
        PanelProcess panel(m_folder);
        ASSERT_TRUE(panel.Started());
        ::SetForegroundWindow(panel.Form());
        auto focusOn = [&](int id) { return WaitFor([&] { return FocusOf(panel) == panel.Control(id); }, 5000); };
        ASSERT_TRUE(focusOn(ControlId::CheckAutoStart)) << "the focus does not start on the page's first control";
        PressHotKey(kShift, VK_TAB);
        ASSERT_TRUE(focusOn(ControlId::Tab1)) << "the tab strip does not take the focus";
        PressHotKey(0, VK_RIGHT);
        PressHotKey(0, VK_RIGHT);
        ASSERT_TRUE(WaitFor([&] { return panel.Visible(ControlId::FrameDeskNames); }, 5000));
        EXPECT_FALSE(panel.Visible(ControlId::FrameGeneral));
        EXPECT_TRUE(focusOn(ControlId::Tab1));
        PressHotKey(kAlt, '2');
        ASSERT_TRUE(focusOn(ControlId::TextDeskName + 1)) << "Alt+2 does not reach the second name";
        PressHotKey(0, VK_HOME);
        PressHotKey(kShift, VK_END);
        Type(name);
        ASSERT_TRUE(WaitFor([&] { return WideWindowText(panel.Control(ControlId::TextDeskName + 1)) == name; }, 5000))
            << "the name box did not take the typed characters";

        // Back to page 2 from the page's box, then record F7 for desktop 1 with Alt+1 and Enter.
        PressHotKey(kCtrl | kShift, VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return panel.Visible(ControlId::FrameShortcutKeys); }, 5000));
        EXPECT_TRUE(focusOn(ControlId::CheckWin)) << "focus lost with the page it was in";
        PressHotKey(kAlt, '1');
        ASSERT_TRUE(focusOn(ControlId::cmdRecordKey1));
        PressHotKey(0, VK_RETURN);
        const HWND dialog = panel.WaitForWindow("ControlPanel.Dialog", "Record shortcut key");
        ASSERT_NE(dialog, nullptr) << "Enter on Record key did not open the dialog";
        PressHotKey(0, VK_F7);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
        EXPECT_EQ(panel.Text(ControlId::LabelRecord), "F7");

        // Ctrl+Tab goes round to page 3; Enter there saves and ends the panel.
        PressHotKey(kCtrl, VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return panel.Visible(ControlId::FrameDeskNames); }, 5000));
        ASSERT_TRUE(focusOn(ControlId::TextDeskName));
        PressHotKey(0, VK_RETURN);
        ASSERT_TRUE(panel.WaitForExit());
    }
    EXPECT_EQ(StoredWide(L"Desktop2Name"), name) << "the name did not reach the registry as typed";
    EXPECT_EQ(ReadStored(SettingsKeyPath, "ShortcutKeyDesktop1")->Number(), static_cast<DWORD>(VK_F7));

    // Escape leaves without saving: the tick given with the space bar is not stored.
    PanelProcess again(m_folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(WideWindowText(again.Control(ControlId::TextDeskName + 1)), name) << "the saved name does not come back";
    ::SetForegroundWindow(again.Form());
    ASSERT_TRUE(WaitFor([&] { return FocusOf(again) == again.Control(ControlId::CheckAutoStart); }, 5000));
    PressHotKey(0, VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return again.Checked(ControlId::CheckAutoStart); }, 5000));
    PressHotKey(0, VK_ESCAPE);
    ASSERT_TRUE(again.WaitForExit());
    EXPECT_FALSE(ReadStored(RunKeyPath, "Varnel").has_value()) << "Escape saved";
}
