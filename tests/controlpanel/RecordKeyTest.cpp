// Recording a row's key: the dialog's prompt, size and modality, a key release recorded as it comes (Escape
// too), Cancel recording nothing, and the recorded codes saved.
#include "ControlIds.h"
#include "KeyText.h"
#include "PanelDriver.h"

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
