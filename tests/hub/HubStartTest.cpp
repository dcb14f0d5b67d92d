// Start-up of the real hub: events, the twelve programs on their desktops, and the failure paths.
#include "HubFixture.h"
#include "WinAPIError.h"

#include <memory>

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
        "cDesktop1: started " + dir + "\\Pellum1.exe on Default",
        "cDesktop1: started " + dir + "\\VarnelEventHandler.exe on Default",
        "cDesktop1: started " + dir + "\\Tavik1.exe on Default",
        "cDesktop2: switched to desk2",
        "cDesktop2: started " + dir + "\\Pellum2.exe on desk2",
        "cDesktop2: started " + explorer + " on desk2",
        "cDesktop2: started " + dir + "\\Tavik2.exe on desk2",
        "cDesktop3: switched to desk3",
        "cDesktop3: started " + dir + "\\Pellum3.exe on desk3",
        "cDesktop3: started " + explorer + " on desk3",
        "cDesktop3: started " + dir + "\\Tavik3.exe on desk3",
        "cDesktop4: switched to desk4",
        "cDesktop4: started " + dir + "\\Pellum4.exe on desk4",
        "cDesktop4: started " + explorer + " on desk4",
        "cDesktop4: started " + dir + "\\Tavik4.exe on desk4",
        "cDesktop1: switched to Default",
    };
    EXPECT_EQ(DesktopTrace(), expected);

    // Each program ran once, on its desktop, with no arguments. (Wine hands a program started with an empty
    // command line its own quoted path; Windows hands it the empty line.)
    const struct {
        const wchar_t *program;
        const char *desktop;
    } started[] = {{L"Pellum1", "Default"}, {L"VarnelEventHandler", "Default"}, {L"Tavik1", "Default"},
                   {L"Tavik2", "desk2"},   {L"Pellum2", "desk2"},   {L"Tavik3", "desk3"},
                   {L"Pellum3", "desk3"},  {L"Tavik4", "desk4"},    {L"Pellum4", "desk4"}};
    for (const auto &s : started) {
        EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, s.program).empty(); })) << ToAnsi(s.program);
        EXPECT_TRUE(StartedOnceWithoutArguments(s.program, s.desktop)) << RecorderLines(m_folder, s.program);
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(HubTest, AMissingRelayFailsItsDesktopTheFailedStartLeavesNothingAndTheNextStartWorks) {
    ASSERT_TRUE(PopulateWithRelays(m_folder, L"Pellum3"));
    const std::string fileNotFound = WinAPIErrorText(ERROR_FILE_NOT_FOUND) + "\r\n";
    const std::string reporter = "Default|2|\"" + Dir() + "\\varnelerror.exe\" 3 ";
    {
        // Desktop 1's relay missing too: desktop 1 fails as the others do, before it starts anything.
        ASSERT_TRUE(::DeleteFileW(m_folder.File(L"Pellum1.exe").c_str()));
        HubRun first(m_folder);
        EXPECT_FALSE(first.Start(m_monitor));
        EXPECT_TRUE(first.WaitForExit());
        EXPECT_NE(Log().find(" cDesktop1: cDesktop: " + fileNotFound), std::string::npos) << Log();
        EXPECT_TRUE(WaitFor([&] { return RecorderLines(m_folder, L"varnelerror") == reporter + "1\r\n"; }))
            << RecorderLines(m_folder, L"varnelerror");
        EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: could not start", 1, 10000, first.ProcessId()));
        EXPECT_EQ(m_monitor.Matching("started", first.ProcessId()), std::vector<std::string>{});
        ASSERT_TRUE(m_folder.Add(ProgramFolder() + L"\\Pellum1.exe", L"Pellum1.exe"));
    }
    {
        // Desktop 3 fails after desktops 1 and 2 started their programs: the hub tells them to end.
        HubRun second(m_folder);
        EXPECT_FALSE(second.Start(m_monitor));
        EXPECT_TRUE(second.WaitForExit());
        EXPECT_NE(Log().find(" cDesktop3: cDesktop: " + fileNotFound), std::string::npos) << Log();
        EXPECT_TRUE(WaitFor([&] { return RecorderLines(m_folder, L"varnelerror").ends_with(reporter + "3\r\n"); }));
        EXPECT_TRUE(m_monitor.WaitFor("cDesktop1: switched to Default", 1, 10000, second.ProcessId()));
        const std::vector<std::string> trace = m_monitor.Matching("cDesktop", second.ProcessId());
        for (const auto &line : trace) {
            EXPECT_EQ(line.find("cDesktop4"), std::string::npos) << line;
            EXPECT_EQ(line.find("Tavik3"), std::string::npos) << line;  // its relay comes first
        }
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(trace.back(), "cDesktop1: switched to Default");  // not left on desk3

        // Nothing of the set is left to hold the events, so the control panel's Start is not refused.
        const DWORD hub = second.ProcessId();
        EXPECT_TRUE(WaitFor([&] { return ChildProcesses(hub, L"explorer.exe").empty(); }, 20000));
        for (int desk = 1; desk <= 2; ++desk)
            EXPECT_EQ(Commands(m_folder, desk), "ready\r\nEndApp\r\n") << desk;
        for (int16_t index = 1; index <= EventCount; ++index)
            EXPECT_FALSE(KernelHandle(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str()))) << index;
    }
    ASSERT_TRUE(m_folder.Add(ProgramFolder() + L"\\Pellum3.exe", L"Pellum3.exe"));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    for (int desk = 1; desk <= 4; ++desk) {
        const std::string expected = desk <= 2 ? "ready\r\nEndApp\r\nready\r\n" : "ready\r\n";
        EXPECT_TRUE(WaitFor([&] { return Commands(m_folder, desk) == expected; })) << Commands(m_folder, desk);
    }
}

TEST_F(HubTest, AMissingSwitcherIsLoggedAndDoesNotStopStartUp) {
    std::vector<std::wstring> standIns = HubRun::AllSiblings();
    std::erase(standIns, L"Tavik2");
    ASSERT_TRUE(HubRun::Populate(m_folder, standIns));
    ASSERT_TRUE(m_hub.Start(m_monitor));
    EXPECT_TRUE(WaitFor([&] { return !RecorderLines(m_folder, L"Tavik4").empty(); }));
    EXPECT_TRUE(StartedOnceWithoutArguments(L"Pellum2", "desk2")) << RecorderLines(m_folder, L"Pellum2");
    const std::string log = Log();
    EXPECT_NE(log.find(" cDesktop2: Failed to start " + Dir() + "\\Tavik2.exe: " +
                       WinAPIErrorText(ERROR_FILE_NOT_FOUND) + "\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Failed to start", log.find("Failed to start") + 1), std::string::npos) << log;
    EXPECT_TRUE(RecorderLines(m_folder, L"varnelerror").empty());
}

TEST_F(HubTest, StartAfterShutdownKeepsTheShellsThatRun) {
    ASSERT_TRUE(HubRun::Populate(m_folder));
    std::vector<std::unique_ptr<HubRun>> runs;  // each ends its shells when it goes, after the last cycle
    for (int cycle = 1; cycle <= 3; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        runs.push_back(std::make_unique<HubRun>(m_folder));
        HubRun &run = *runs.back();
        ASSERT_TRUE(run.Start(m_monitor));
        // Up and waiting for input, as a user's next Start, seconds later, finds them.
        for (const ChildProcess &child : ChildProcesses(run.ProcessId())) {
            if (_wcsicmp(child.name.c_str(), L"explorer.exe") != 0)
                continue;
            KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, child.id));
            EXPECT_EQ(::WaitForInputIdle(process.Get(), 10000), 0u);
        }
        // The control panel's Shutdown ends the hub and leaves the shells.
        ASSERT_TRUE(run.Send("EndApp"));
        ASSERT_TRUE(run.WaitForExit());
    }
    for (int desk = 2; desk <= 4; ++desk) {
        const std::string name = "desk" + std::to_string(desk);
        EXPECT_EQ(m_monitor.Matching("explorer.exe on " + name).size(), 1u) << name;
        EXPECT_EQ(m_monitor.Matching("kept the shell running on " + name).size(), 2u) << name;
    }
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
    // Modifiers stored in one byte ({5}, Alt and Shift, when half read) count as missing: the Windows key.
    HKEY settings = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Varnel", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &settings,
                                nullptr),
              ERROR_SUCCESS);
    const BYTE five = MOD_ALT | MOD_SHIFT;
    ::RegSetValueExA(settings, "ShortcutKeyModifiers", 0, REG_DWORD, &five, 1);
    ::RegCloseKey(settings);
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
