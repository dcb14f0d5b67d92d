// Start-up of the real hub: events, the twelve programs on their desktops, and the failure paths.
#include "HubFixture.h"
#include "WinAPIError.h"

TEST_F(HubTest, CleanStartCreatesTheEventsAndStartsTwelveProgramsInOrder) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));

    for (int16_t index = 1; index <= EventCount; ++index) {
        KernelHandle event(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str()));
        EXPECT_TRUE(event) << EventName(index);
    }
    const HWND window = m_hub.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(::IsWindowVisible(window));

    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string dir = Dir(), explorer = std::string(windows) + "\\explorer.exe";
    const std::vector<std::string> expected = {
        "cDesktop1: started " + dir + "\\Tavik1.exe on Default",
        "cDesktop1: started " + dir + "\\Pellum1.exe on Default",
        "cDesktop1: started " + dir + "\\VarnelEventHandler.exe on Default",
        "cDesktop2: switched to desk2",
        "cDesktop2: started " + explorer + " on desk2",
        "cDesktop2: started " + dir + "\\Tavik2.exe on desk2",
        "cDesktop2: started " + dir + "\\Pellum2.exe on desk2",
        "cDesktop3: switched to desk3",
        "cDesktop3: started " + explorer + " on desk3",
        "cDesktop3: started " + dir + "\\Tavik3.exe on desk3",
        "cDesktop3: started " + dir + "\\Pellum3.exe on desk3",
        "cDesktop4: switched to desk4",
        "cDesktop4: started " + explorer + " on desk4",
        "cDesktop4: started " + dir + "\\Tavik4.exe on desk4",
        "cDesktop4: started " + dir + "\\Pellum4.exe on desk4",
        "cDesktop1: switched to Default",
    };
    EXPECT_EQ(DesktopTrace(), expected);

    // Each program ran once, on its desktop, with no arguments. (Wine hands a program started with an empty
    // command line its own quoted path; Windows hands it the empty line.)
    const struct {
        const wchar_t *program;
        const char *desktop;
    } started[] = {{L"Tavik1", "Default"}, {L"Pellum1", "Default"}, {L"VarnelEventHandler", "Default"},
                   {L"Tavik2", "desk2"},   {L"Pellum2", "desk2"},   {L"Tavik3", "desk3"},
                   {L"Pellum3", "desk3"},  {L"Tavik4", "desk4"},    {L"Pellum4", "desk4"}};
    for (const auto &s : started) {
        EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, s.program).empty(); })) << ToAnsi(s.program);
        EXPECT_TRUE(StartedOnceWithoutArguments(s.program, s.desktop)) << RecorderLines(m_folder, s.program);
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(HubTest, EventsThatExistAlreadyAreTakenOver) {
    std::vector<KernelHandle> events;
    for (int16_t index = 1; index <= EventCount; ++index)
        events.emplace_back(::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
    ASSERT_TRUE(HubRun::Populate(m_folder));
    EXPECT_TRUE(m_hub.Start(m_monitor));
    EXPECT_NE(m_hub.Window(), nullptr);
    EXPECT_EQ(Log(), "");
}

TEST_F(HubTest, AMissingRelayFailsItsDesktopAndTheHubEndsOnDesktopOne) {
    std::vector<std::wstring> standIns = HubRun::AllSiblings();
    std::erase(standIns, L"Pellum3");
    ASSERT_TRUE(HubRun::Populate(m_folder, standIns));
    EXPECT_FALSE(m_hub.Start(m_monitor));
    EXPECT_TRUE(m_hub.WaitForExit());

    EXPECT_NE(Log().find(" cDesktop3: cDesktop: " + WinAPIErrorText(ERROR_FILE_NOT_FOUND) + "\r\n"), std::string::npos)
        << Log();
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"varnelerror").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"varnelerror"), "Default|2|\"" + Dir() + "\\varnelerror.exe\" 3 3\r\n");

    EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: switched to Default", 1, 10000, m_hub.ProcessId()));
    const std::vector<std::string> trace = DesktopTrace();
    for (const auto &line : trace)
        EXPECT_EQ(line.find("cDesktop4"), std::string::npos) << line;
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "cDesktop1: switched to Default");  // not left on desk3
}

TEST_F(HubTest, AMissingSwitcherDoesNotStopStartUp) {
    std::vector<std::wstring> standIns = HubRun::AllSiblings();
    std::erase(standIns, L"Tavik2");
    ASSERT_TRUE(HubRun::Populate(m_folder, standIns));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    EXPECT_EQ(m_monitor.Matching("cDesktop2: could not start " + Dir() + "\\Tavik2.exe").size(), 1u);
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"Pellum4").empty(); }));
    EXPECT_TRUE(StartedOnceWithoutArguments(L"Pellum2", "desk2")) << RecorderLines(m_folder, L"Pellum2");
    EXPECT_EQ(Log(), "");
}

TEST_F(HubTest, AnEventNameHeldByAnotherObjectIsLoggedReportedAndEndsTheHub) {
    KernelHandle squatter(::CreateMutexA(nullptr, FALSE, "Local\\nuvoq_CloseVarnel"));
    ASSERT_TRUE(HubRun::Populate(m_folder));
    EXPECT_FALSE(m_hub.Start(m_monitor));
    EXPECT_TRUE(m_hub.WaitForExit());
    const std::string log = Log();
    EXPECT_NE(log.find(" Varnel: Failed to create Local\\nuvoq_CloseVarnel\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed to create Local\\nuvoq_ReadRegVarnel"), std::string::npos) << log;
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"varnelerror").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"varnelerror"), "Default|2|\"" + Dir() + "\\varnelerror.exe\" 2 \r\n");
    EXPECT_TRUE(DesktopTrace().empty());  // no desktop was touched
}

TEST_F(HubTest, ASecondHubEndsAtOnceWithoutStartingAnything) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    ASSERT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"Tavik1").empty(); }));
    EXPECT_EQ(RunProcess(m_folder.File(L"Varnel.exe"), L""), 0u);
    EXPECT_NE(Log().find(" Varnel: Varnel is already running; this copy ends.\r\n"), std::string::npos) << Log();
    EXPECT_EQ(m_monitor.Matching("Varnel: started").size(), 1u);
    EXPECT_TRUE(StartedOnceWithoutArguments(L"Tavik1", "Default")) << RecorderLines(m_folder, L"Tavik1");
    EXPECT_TRUE(m_hub.Running());
}

TEST_F(HubTest, ATakenHotKeyIsLoggedAndReportedAndTheOthersAreRegistered) {
    const HWND own = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(own, 1, MOD_WIN, '3'));
    ASSERT_TRUE(HubRun::Populate(m_folder));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    EXPECT_NE(Log().find(" Varnel: Failed to register the following hotkey: WIN + 3\r\n"), std::string::npos) << Log();
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"varnelerror").empty(); }));
    EXPECT_EQ(RecorderLines(m_folder, L"varnelerror"), "Default|2|\"" + Dir() + "\\varnelerror.exe\" 5 WIN + 3\r\n");
    // The hub holds the other four: nobody else can have them.
    int id = 2;
    for (UINT key : {UINT{'1'}, UINT{'2'}, UINT{'4'}, UINT{VK_OEM_3}})
        EXPECT_FALSE(::RegisterHotKey(own, id++, MOD_WIN, key)) << key;
    ::UnregisterHotKey(own, 1);
    ::DestroyWindow(own);
}
