// Start and Shutdown: the run-state probe over all 47 events, the hub started by its full path, and the close
// events set hub first, skipping the programs that do not run.
#include "AnsiText.h"
#include "ControlIds.h"
#include "DebugMonitor.h"
#include "HubRun.h"
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
    DebugMonitor trace;
    PanelProcess panel(m_folder);
    ASSERT_TRUE(panel.Started());
    {
        // The hub and switchers 2 and 4 run; 1 and 3 do not.
        const KernelHandle hub = Create(45), second = Create(17), fourth = Create(37);
        panel.Click(ControlId::cmdStop);
        ASSERT_TRUE(WaitFor([&] { return PanelTrace(trace, panel.Id()).size() >= 3; }, 5000));
        const std::vector<std::string> expected = {"ControlPanel: set Local\\nuvoq_CloseVarnel",
                                                   "ControlPanel: set Local\\nuvoq_CloseSwitcher2",
                                                   "ControlPanel: set Local\\nuvoq_CloseSwitcher4"};
        EXPECT_EQ(PanelTrace(trace, panel.Id()), expected);
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
    ASSERT_TRUE(WaitFor([&] { return PanelTrace(trace, panel.Id()).size() >= 8; }, 5000));
    const std::vector<std::string> lines = PanelTrace(trace, panel.Id());
    const std::vector<std::string> expected = {
        "ControlPanel: set Local\\nuvoq_CloseVarnel",    "ControlPanel: set Local\\nuvoq_CloseSwitcher1",
        "ControlPanel: set Local\\nuvoq_CloseSwitcher2", "ControlPanel: set Local\\nuvoq_CloseSwitcher3",
        "ControlPanel: set Local\\nuvoq_CloseSwitcher4"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()), expected);
    // No message and the window stays.
    EXPECT_EQ(panel.WaitForWindow("#32770", "Varnel Control Panel", 300), nullptr);
    EXPECT_TRUE(::IsWindow(panel.Form()));
}

TEST_F(CommandsTest, StartStartsTheRealHubAndShutdownEndsIt) {
    DebugMonitor trace;
    ASSERT_TRUE(HubRun::Populate(m_folder));  // the real hub; recorders for the programs it starts
    PanelProcess panel(m_folder, PanelProcess::Hub::AsFound);
    ASSERT_TRUE(panel.Started());
    panel.Click(ControlId::cmdStart);
    ASSERT_TRUE(trace.WaitFor("Varnel: started", 1, 30000)) << "the hub did not start";
    DWORD hubId = 0;
    for (const DebugMonitor::Line &line : trace.Lines())
        if (line.text == "Varnel: started")
            hubId = line.processId;
    KernelHandle hub(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, hubId));
    ASSERT_TRUE(hub);
    // Whatever the outcome, no hub and none of its shells outlive the test.
    struct Cleanup {
        const KernelHandle &hub;
        DWORD id;
        ~Cleanup() {
            if (::WaitForSingleObject(hub.Get(), 0) == WAIT_TIMEOUT)
                ::TerminateProcess(hub.Get(), 1);
            EndChildProcesses(id, L"explorer.exe");
            EndChildProcesses(id, L"", 5000);
        }
    } cleanup{hub, hubId};
    KernelHandle closeVarnel(::OpenEventA(SYNCHRONIZE, FALSE, EventName(45).c_str()));
    ASSERT_TRUE(closeVarnel);

    // Started once: a second Start finds its events and refuses.
    panel.Click(ControlId::cmdStart);
    const HWND box = panel.WaitForWindow("#32770", "VarnelControlPanel");
    ASSERT_NE(box, nullptr);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));

    panel.Click(ControlId::cmdStop);
    // The hub relay's part (a stand-in here): hand the set "CloseVarnel" on to the hub as "EndApp".
    ASSERT_EQ(::WaitForSingleObject(closeVarnel.Get(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(SendCopyData(FindTaggedWindow("Varnel_APPLICATION"), "EndApp"));
    EXPECT_EQ(::WaitForSingleObject(hub.Get(), 10000), WAIT_OBJECT_0) << "the hub did not end";
}
