// Recording a row's key: the dialog's prompt, size and modality, a key release recorded as it comes (Escape
// too), Cancel recording nothing, the recorded codes saved, and what each row's combination meets.
#include "ControlIds.h"
#include "KeyText.h"
#include "PanelDriver.h"
#include "PanelRules.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

namespace {

class RecordKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_panel = std::make_unique<PanelProcess>(m_folder);
        ASSERT_TRUE(m_panel->Started());
        m_panel->PressTab(PanelTabLefts()[1] + 1);
        ASSERT_TRUE(m_panel->Visible(ControlId::FrameShortcutKeys));
    }
    // Opens the dialog of row `row` (0..4) and answers its window.
    HWND Open(int row) {
        m_panel->Click(ControlId::cmdRecordKey1 + row);
        return m_panel->WaitForWindow("ControlPanel.Dialog", "Record shortcut key");
    }
    // Key messages as the keyboard leaves them for the focused control, the dialog's Cancel button.
    static void Key(HWND dialog, UINT message, WPARAM key) {
        ::PostMessageA(::GetDlgItem(dialog, ControlId::CancelButton), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
    }
    static bool Closed(HWND dialog) {
        return WaitFor([&] { return !::IsWindow(dialog); });
    }

    SettingsSandbox m_sandbox;
    TempFolder m_folder;
    std::unique_ptr<PanelProcess> m_panel;
};

}  // namespace

TEST_F(RecordKeyTest, EachRowPromptsForItsKeyInAModalDialogOfItsSize) {
    const std::string start = "Press a key on the keyboard to record the shortcut key for switching to ";
    const char *endings[] = {"Desktop 1.", "Desktop 2.", "Desktop 3.", "Desktop 4.", "the previous desktop."};
    for (int row = 0; row < 5; ++row) {
        const HWND dialog = Open(row);
        ASSERT_NE(dialog, nullptr) << "row " << row;
        EXPECT_EQ(WindowTextOf(::GetDlgItem(dialog, ControlId::DialogLabel1)), start + endings[row]);
        EXPECT_FALSE(::IsWindowEnabled(m_panel->Form())) << "the settings window must wait for the dialog";
        RECT client = {};
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 338);
        EXPECT_EQ(client.bottom, 139);
        ::PostMessageA(::GetDlgItem(dialog, ControlId::CancelButton), BM_CLICK, 0, 0);
        ASSERT_TRUE(Closed(dialog));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(m_panel->Form()) != FALSE; }));
    }
}

TEST_F(RecordKeyTest, EscapeIsRecordedCancelChangesNothingAndTheCodesAreSaved) {
    // Escape for desktop 2.
    HWND dialog = Open(1);
    ASSERT_NE(dialog, nullptr);
    Key(dialog, WM_KEYDOWN, VK_ESCAPE);
    Key(dialog, WM_KEYUP, VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(m_panel->Text(ControlId::LabelRecord + 1), KeyText(VK_ESCAPE));
    EXPECT_FALSE(KeyText(VK_ESCAPE).empty());

    // Cancel on the previous-desktop row.
    dialog = Open(4);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageA(::GetDlgItem(dialog, ControlId::CancelButton), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(m_panel->Text(ControlId::LabelRecord + 4), "`");

    // The release of a key pressed before the dialog opened (the Enter that opened it) is not a choice.
    dialog = Open(0);
    ASSERT_NE(dialog, nullptr);
    Key(dialog, WM_KEYUP, VK_RETURN);
    Key(dialog, WM_KEYDOWN, VK_SHIFT);
    Key(dialog, WM_KEYDOWN, 'Q');
    Key(dialog, WM_KEYUP, VK_SHIFT);  // SHIFT released first: SHIFT is the key
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(m_panel->Text(ControlId::LabelRecord + 0), KeyText(VK_SHIFT));
    EXPECT_FALSE(m_panel->Checked(ControlId::CheckShift)) << "recording leaves the modifier boxes alone";

    ASSERT_TRUE(m_panel->SaveAndExit());
    const struct {
        const char *name;
        DWORD code;
    } saved[] = {{"ShortcutKeyDesktop1", VK_SHIFT}, {"ShortcutKeyDesktop2", VK_ESCAPE}, {"ShortcutKeyDesktop3", 51},
                 {"ShortcutKeyDesktop4", 52},       {"ShortcutKeyPreviousDesktop", 192}};
    for (const auto &s : saved)
        EXPECT_EQ(ReadStored(SettingsKeyPath, s.name)->Number(), s.code) << s.name;
}

// Beside each row the panel says what its combination meets: another row's key, a program holding it (this test
// stands in for one), Varnel itself (a running hub holds what is stored), or nothing. A recorded key and a
// changed modifier box say it anew.
TEST(HotKeyStatusTest, EachRowSaysWhetherItsKeyIsFreeVarnelsAnotherRowsOrAnotherPrograms) {
    const SettingsSandbox sandbox;
    const TempFolder folder;
    CreateSettingsKey();
    WriteDword(SettingsKeyPath, "ShortcutKeyModifiers", MOD_CONTROL | MOD_ALT);
    const DWORD keys[] = {VK_F8, VK_F8, VK_F10, VK_F12};
    for (int i = 0; i < 4; ++i)
        WriteDword(SettingsKeyPath, ("ShortcutKeyDesktop" + std::to_string(i + 1)).c_str(), keys[i]);
    WriteDword(SettingsKeyPath, "ShortcutKeyPreviousDesktop", VK_F11);
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9));   // another program's
    ASSERT_TRUE(::RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, VK_F11));  // the running hub's
    const KernelHandle hub(::CreateEventA(nullptr, FALSE, FALSE, EventName(ReReadEvents[0]).c_str()));
    {
        PanelProcess panel(folder);
        ASSERT_TRUE(panel.Started());
        auto statuses = [&] {
            std::vector<std::string> texts;
            for (int row = 0; row < 5; ++row)
                texts.push_back(panel.Text(ControlId::LabelStatus + row));
            return texts;
        };
        const std::vector<std::string> atLoad = {"Same as Desktop 2", "Same as Desktop 1", "Free", "Free",
                                                 "In use by Varnel"};
        EXPECT_EQ(statuses(), atLoad);

        // F9 recorded for desktop 2: desktop 1's F8 is its own again, and F9 is the other program's.
        panel.PressTab(PanelTabLefts()[1] + 1);
        panel.Click(ControlId::cmdRecordKey1 + 1);
        const HWND dialog = panel.WaitForWindow("ControlPanel.Dialog", "Record shortcut key");
        ASSERT_NE(dialog, nullptr);
        const HWND cancel = ::GetDlgItem(dialog, ControlId::CancelButton);
        ::PostMessageA(cancel, WM_KEYDOWN, VK_F9, 1);
        ::PostMessageA(cancel, WM_KEYUP, VK_F9, 0xC0000001);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
        const std::vector<std::string> recorded = {"Free", "Held by another program", "Free", "Free",
                                                   "In use by Varnel"};
        EXPECT_TRUE(WaitFor([&] { return statuses() == recorded; }, 5000));

        // Without CTRL the combinations are others: nobody holds ALT + F9, and the hub holds CTRL + ALT + F11 only.
        panel.Click(ControlId::CheckCtrl);
        const std::vector<std::string> altOnly = {"Free", "Free", "Free", "Free", "Free"};
        EXPECT_TRUE(WaitFor([&] { return statuses() == altOnly; }, 5000));
    }
    ::UnregisterHotKey(nullptr, 1);
    ::UnregisterHotKey(nullptr, 2);
}
