// Switcher 3 as a real program in a throwaway program folder, with the hub's events created by the test.
#include "DebugMonitor.h"
#include "SwitcherTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <thread>
#include <vector>

// Switcher 3 in a program folder of its own, with a recorder in place of the error reporter and the
// FreeImage.dll of `freeImage` (none when it is empty).
class TavikRun {
public:
    explicit TavikRun(const std::wstring &freeImage = ProgramFolder()) {
        folder.Add(ProgramFolder() + L"\\Tavik3.exe", L"Tavik3.exe");
        folder.Add(TestBinDir() + L"\\recorder.exe", L"varnelerror.exe");
        if (!freeImage.empty())
            AddFreeImage(freeImage);
    }
    // The test's variants forward to the real DLL, which they find beside them under another name.
    void AddFreeImage(const std::wstring &from) {
        folder.Add(from + L"\\FreeImage.dll", L"FreeImage.dll");
        if (from != ProgramFolder())
            folder.Add(ProgramFolder() + L"\\FreeImage.dll", L"FreeImageCore.dll");
    }
    ~TavikRun() {
        if (Window() != nullptr)
            Send("EndApp");
        if (m_process && ::WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.Get(), 1);
    }
    bool Start() {
        m_process = StartProcess(folder.File(L"Tavik3.exe"), L"");
        return WaitFor([&] { return !m_monitor.Matching("Tavik3: started").empty() || ExitCode(0) != STILL_ACTIVE; }) &&
               Window() != nullptr;
    }
    DWORD ExitCode(DWORD timeoutMs = 10000) const {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }
    HWND Window() const { return FindTaggedWindow("Tavik3_APPLICATION"); }
    std::vector<std::string> Traced(const std::string &part) const { return m_monitor.Matching(part); }
    bool Send(std::string_view word) const { return SendCopyData(Window(), word); }
    std::wstring Screenshot() const { return folder.File(L"desktop3.bmp"); }
    TempFolder folder;

private:
    DebugMonitor m_monitor;
    KernelHandle m_process;
};

TEST(TavikTest, OnlyExactWordsAreCommandsTheIconComesBackAndALeaveAsksSavesThenTellsTheOthers) {
    HubEvents events;
    const KeeperIcon keeper;
    TavikRun tavik;
    ASSERT_TRUE(tavik.Start());
    for (std::string_view word : {std::string_view("endapp"), std::string_view("EndApp "),
                                  std::string_view("EndApp\0", 7), std::string_view(""),
                                  std::string_view("SwitchToDesktop5"), std::string_view("SwitchToDesktop1\0", 17)}) {
        ASSERT_TRUE(tavik.Send(word));
        EXPECT_EQ(tavik.ExitCode(0), STILL_ACTIVE) << word.size();
    }
    EXPECT_EQ(events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(tavik.Screenshot()));
    // The shell starts again and has lost every icon; it tells every top-level window (Wine never does).
    ASSERT_TRUE(ShellHadIcon(tavik.Window()));
    ASSERT_FALSE(ShellHadIcon(tavik.Window()));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                          &result);
    EXPECT_TRUE(ShellHadIcon(tavik.Window()));

    // Woken by SwitchToDesktop1, then Switcher1Update3, Switcher2Update3 and Switcher4Update3 as the other
    // switchers are, a reader notes the file's size (0: none): an update must find the whole file. It notes
    // when the switch was asked for too: the picture must be of the desktop being left, so its capture has
    // ended by then. (Under Wine a switch does not change the screen, and a window put up at the request
    // reaches the screen tens of milliseconds after a capture that follows it.)
    using Wakes = std::vector<std::pair<int16_t, uint32_t>>;
    Wakes wakes;
    double asked = 0;
    std::thread reader([&] {
        const int16_t indices[] = {41, 2, 12, 33};
        const HANDLE handles[] = {events.Get(41), events.Get(2), events.Get(12), events.Get(33)};
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        DWORD woken = 0;
        while (wakes.size() < 4 && (woken = ::WaitForMultipleObjects(4, handles, FALSE, 10000)) < WAIT_OBJECT_0 + 4) {
            if (wakes.empty())
                asked = DebugMonitor::Now();
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            const bool exists = ::GetFileAttributesExW(tavik.Screenshot().c_str(), GetFileExInfoStandard, &data);
            wakes.emplace_back(indices[woken - WAIT_OBJECT_0], exists ? data.nFileSizeLow : 0);
        }
    });
    EXPECT_TRUE(tavik.Send("SwitchToDesktop1"));
    reader.join();
    ASSERT_EQ(wakes.size(), 4u);
    EXPECT_EQ(wakes[0], (std::pair<int16_t, uint32_t>{41, 0})) << "the file was written before the switch";
    std::sort(wakes.begin() + 1, wakes.end());
    const uint32_t whole = 54 + Thumbnail.size;
    EXPECT_EQ(Wakes(wakes.begin() + 1, wakes.end()), (Wakes{{2, whole}, {12, whole}, {33, whole}}))
        << "an update before the file was whole";
    EXPECT_EQ(events.SetSince(), std::set<int16_t>{}) << "no other event is set";
    EXPECT_EQ(FileBmp(tavik.Screenshot()), Thumbnail);
    // The switcher's trace of the leave says when the command came and how long its capture took.
    std::smatch times;
    const std::vector<std::string> left = tavik.Traced("Tavik3: saved ");
    ASSERT_EQ(left.size(), 1u);
    ASSERT_TRUE(std::regex_search(left[0], times, std::regex("command at ([0-9.]+) ms: capture ([0-9.]+) ")));
    EXPECT_LT(std::stod(times[1]) + std::stod(times[2]), asked) << "captured after the switch was asked for";
    for (const wchar_t *other : {L"desktop1.bmp", L"desktop2.bmp", L"desktop4.bmp", L"desktop3.bmp.new"})
        EXPECT_FALSE(FileExists(tavik.folder.File(other))) << other;
    ASSERT_TRUE(tavik.Send("EndApp"));
    EXPECT_EQ(tavik.ExitCode(), 0u);
}

TEST(TavikTest, AnyFreeImageTakesPicturesReplacedWholeOrNotAtAllAndWithoutOneTheSwitchIsStillAskedFor) {
    HubEvents events;
    const auto leave = [&](const TavikRun &tavik) {
        std::set<int16_t> seen;
        return tavik.Send("SwitchToDesktop2") &&
               WaitFor([&] { return seen.merge(events.SetSince()), seen == std::set<int16_t>{2, 12, 33, 42}; });
    };
    {
        TavikRun tavik(L"");
        ASSERT_TRUE(tavik.Start());
        EXPECT_TRUE(leave(tavik));
        EXPECT_FALSE(FileExists(tavik.Screenshot()));
        EXPECT_FALSE(FileExists(tavik.Screenshot() + L".new"));
        EXPECT_EQ(tavik.ExitCode(0), STILL_ACTIVE);
        // A DLL exporting the plain names only, put in place while the switcher runs; then, in another switcher,
        // one with the decorated names only, as FreeImage's own 32-bit build has them.
        tavik.AddFreeImage(TestBinDir() + L"\\freeimage-plain");
        EXPECT_TRUE(leave(tavik));
        EXPECT_EQ(FileBmp(tavik.Screenshot()), Thumbnail);
    }
    TavikRun decorated(TestBinDir() + L"\\freeimage-decorated");
    ASSERT_TRUE(decorated.Start());
    EXPECT_TRUE(leave(decorated));
    EXPECT_EQ(FileBmp(decorated.Screenshot()), Thumbnail);

    // A picture is replaced whole: another switcher looking at it while it is written again finds the old one or
    // the new one, always whole; a write that fails (here the new file cannot be made) leaves the old one as it was.
    const auto file = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        const bool exists = ::GetFileAttributesExW(decorated.Screenshot().c_str(), GetFileExInfoStandard, &data);
        return std::pair<uint32_t, uint64_t>(exists ? data.nFileSizeLow : 0, uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                                                                                 data.ftLastWriteTime.dwLowDateTime);
    };
    std::atomic<bool> written = false;
    std::set<uint32_t> sizes;
    std::thread looker([&] {
        while (!written)
            sizes.insert(file().first);
    });
    EXPECT_TRUE(leave(decorated));
    written = true;
    looker.join();
    EXPECT_EQ(sizes, std::set<uint32_t>{54 + Thumbnail.size});
    const auto before = file();
    ASSERT_TRUE(::CreateDirectoryW((decorated.Screenshot() + L".new").c_str(), nullptr));
    EXPECT_TRUE(leave(decorated));
    EXPECT_EQ(file(), before) << "the old picture was touched";
    ::RemoveDirectoryW((decorated.Screenshot() + L".new").c_str());
}

TEST(TavikTest, EachMissingEventIsLoggedAndReportedAndEndsTheProgramUnlessTheSetEndedWhileItStarted) {
    TavikRun tavik;
    const std::wstring logFile = tavik.folder.File(L"VarnelErrors.txt");
    {
        HubEvents events({12, 47});
        tavik.Start();
        EXPECT_EQ(tavik.ExitCode(), 1u);
        const std::string log = ReadFileBytes(logFile);
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
        EXPECT_NE(log.find(" Tavik3: Unable to open event Local\\nuvoq_Switcher2Update3\r\n"), std::string::npos) << log;
        EXPECT_NE(log.find(" Tavik3: Unable to open event Local\\nuvoq_ShutdownDesktops\r\n"), std::string::npos) << log;
        // Two reports, each started minimized with the code 1 and an empty text.
        const std::regex twoReports("(Default\\|2\\|[^\r\n]*varnelerror\\.exe\"? 1 \r\n){2}");
        std::string reports;
        EXPECT_TRUE(WaitFor([&] {
            return std::regex_match(reports = RecorderLines(tavik.folder, L"varnelerror"), twoReports);
        })) << reports;
    }
    // No event at all and its starter gone: a set shut down right after its start (an upgrade) is no fault.
    ::DeleteFileW(logFile.c_str());
    const std::wstring start = L"cmd /c start \"\" \"" + tavik.folder.File(L"Tavik3.exe") + L"\"";
    EXPECT_EQ(RunProcess(L"C:\\windows\\system32\\cmd.exe", start), 0u);
    std::string log;
    EXPECT_TRUE(WaitFor([&] { return (log = ReadFileBytes(logFile)).find("The set ended") != std::string::npos; }));
    EXPECT_TRUE(WaitFor([] { return ProcessIdsOf(L"Tavik3.exe").empty(); }));
    EXPECT_EQ(ReadFileBytes(logFile), log);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}
