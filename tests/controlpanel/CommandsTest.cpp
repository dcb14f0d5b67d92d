// Start and Shutdown: the run-state probe over all 47 events, the hub started by its full path, and the close
// events set hub first, skipping the programs that do not run.
#include "AnsiText.h"
#include "ControlIds.h"
#include "DebugOutput.h"
#include "PanelDriver.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int16_t index = 1; index <= EventCount; ++index)
            ASSERT_FALSE(KernelHandle(::OpenEventA(EVENT_ALL_ACCESS, FALSE, EventName(index).c_str())))
                << "a leftover of another test or a running hub: " << EventName(index);
    }
    static KernelHandle Create(int16_t index) {
        return KernelHandle(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
    }
    static bool Exists(int16_t index) {
        return static_cast<bool>(KernelHandle(::OpenEventA(EVENT_ALL_ACCESS, FALSE, EventName(index).c_str())));
    }

    SettingsSandbox m_sandbox;
    TempFolder m_folder;
};

}  // namespace

TEST_F(CommandsTest, StartRefusesWhileAnyEventExistsAndOtherwiseStartsTheHubByItsPath) {
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    // The first and last index, an idle one and a lone switcher's: any of them means something runs.
    for (const int16_t index : {1, 9, 29, 47}) {
        SCOPED_TRACE(EventName(index));
        KernelHandle event = Create(index);
        panel.Click(ControlId::cmdStart);
        const HWND box = panel.WaitForWindow("#32770", "VarnelControlPanel");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "Varnel is are already running.");
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
        // Once ours is closed the event is gone: the panel kept no handle to it.
        event.Reset();
        EXPECT_FALSE(Exists(index));
    }
    EXPECT_EQ(RecorderLines(m_folder, L"Varnel"), "") << "the hub was started although something ran";

    panel.Click(ControlId::cmdStart);
    const std::string expected = "Default|2|\"" + ToAnsi(m_folder.File(L"Varnel.exe")) + "\"\r\n";
    ASSERT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"Varnel").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"Varnel"), expected);
    EXPECT_TRUE(::IsWindow(panel.Form()));
}

TEST_F(CommandsTest, ShutdownSetsTheCloseEventsHubFirstAndSkipsMissingOnes) {
    DebugOutput trace;
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    {
        // The hub and switchers 2 and 4 run; 1 and 3 do not.
        const KernelHandle hub = Create(45), second = Create(17), fourth = Create(37);
        panel.Click(ControlId::cmdStop);
        ASSERT_TRUE(WaitFor([&] { return trace.Lines(panel.Id()).size() >= 3; }, 5000));
        const std::vector<std::string> expected = {"ControlPanel: set Local\\nuvoq_CloseVarnel",
                                                   "ControlPanel: set Local\\nuvoq_CloseSwitcher2",
                                                   "ControlPanel: set Local\\nuvoq_CloseSwitcher4"};
        EXPECT_EQ(trace.Lines(panel.Id()), expected);
        for (const KernelHandle *event : {&hub, &second, &fourth})
            EXPECT_EQ(::WaitForSingleObject(event->Get(), 0), WAIT_OBJECT_0);
        EXPECT_FALSE(Exists(7)) << "the panel must never create an event";
        EXPECT_FALSE(Exists(27));
    }
    EXPECT_FALSE(Exists(45)) << "the panel kept a handle";

    std::vector<KernelHandle> all;
    for (const int16_t index : {37, 27, 17, 7, 45})
        all.push_back(Create(index));
    panel.Click(ControlId::cmdStop);
    ASSERT_TRUE(WaitFor([&] { return trace.Lines(panel.Id()).size() >= 8; }, 5000));
    const std::vector<std::string> lines = trace.Lines(panel.Id());
    const std::vector<std::string> expected = {
        "ControlPanel: set Local\\nuvoq_CloseVarnel",    "ControlPanel: set Local\\nuvoq_CloseSwitcher1",
        "ControlPanel: set Local\\nuvoq_CloseSwitcher2", "ControlPanel: set Local\\nuvoq_CloseSwitcher3",
        "ControlPanel: set Local\\nuvoq_CloseSwitcher4"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()), expected);
    // No message and the window stays.
    EXPECT_EQ(panel.WaitForWindow("#32770", "Varnel Control Panel", 300), nullptr);
    EXPECT_TRUE(::IsWindow(panel.Form()));
}
