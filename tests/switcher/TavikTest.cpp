// The real switcher programs in throwaway program folders, with the events the hub would hold created by the
// test: start-up with missing events, the switch sequence and its screenshot file, the copy-data words, and
// the tray icon after the taskbar is re-created.
#include "DebugMonitor.h"
#include "SwitcherTestSupport.h"
#include "TestSupport.h"
#include "core/BmpFile.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Switcher N in a program folder of its own, with a recorder in place of the error reporter.
class TavikRun {
public:
    TavikRun(int16_t desk, bool withFreeImage = true) : m_desk(desk) {
        m_folder.Add(ProgramFolder() + L"\\" + ExeName(), ExeName());
        m_folder.Add(TestBinDir() + L"\\recorder.exe", L"varnelerror.exe");
        if (withFreeImage)
            m_folder.Add(ProgramFolder() + L"\\FreeImage.dll", L"FreeImage.dll");
    }
    ~TavikRun() {
        if (Running() && Window() != nullptr)
            SendCopyData(Window(), "EndApp");
        if (m_process && ::WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.Get(), 1);
    }
    const TempFolder &Folder() const { return m_folder; }
    std::wstring ExeName() const { return L"Tavik" + std::to_wstring(m_desk) + L".exe"; }
    std::wstring Screenshot() const { return m_folder.File(L"desktop" + std::to_wstring(m_desk) + L".bmp"); }
    std::string Tag() const { return "Tavik" + std::to_string(m_desk) + "_APPLICATION"; }

    // True once the switcher traced the end of its start-up.
    bool Start() {
        const std::string started = "Tavik" + std::to_string(m_desk) + ": started";
        const size_t before = m_monitor.Matching(started).size();
        m_process = StartProcess(m_folder.File(ExeName()), L"");
        return m_process && WaitFor([&] { return m_monitor.Matching(started).size() > before || !Running(); }) &&
               Running() && Window() != nullptr;
    }
    // Until the program ends by itself; its exit code, or STILL_ACTIVE.
    DWORD ExitCode(DWORD timeoutMs = 10000) const {
        DWORD code = STILL_ACTIVE;
        if (m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }
    bool Running() const { return m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }
    HWND Window() const { return FindTaggedWindow(Tag()); }
    bool Send(std::string_view word) const { return SendCopyData(Window(), word); }

private:
    int16_t m_desk;
    TempFolder m_folder;
    DebugMonitor m_monitor;
    KernelHandle m_process;
};


std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (end > start)
            lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What a waiter saw of the screenshot file at the moment each of the watched events woke it.
struct Wake {
    int16_t index;
    uint32_t fileSize;  // 0: no file
};

class EventWatcher {
public:
    EventWatcher(const HubEvents &events, std::vector<int16_t> indices, std::wstring file)
        : m_indices(std::move(indices)), m_file(std::move(file)) {
        for (int16_t index : m_indices)
            m_handles.push_back(events.Get(index));
        m_thread = std::thread([this] { Run(); });
    }
    ~EventWatcher() { Join(); }
    // Waits until every watched event was seen once (or ten seconds passed); the wakes in their order.
    std::vector<Wake> Join() {
        if (m_thread.joinable())
            m_thread.join();
        return m_wakes;
    }

private:
    void Run() {
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        const ULONGLONG deadline = ::GetTickCount64() + 10000;
        while (m_wakes.size() < m_indices.size() && ::GetTickCount64() < deadline) {
            const DWORD result =
                ::WaitForMultipleObjects(static_cast<DWORD>(m_handles.size()), m_handles.data(), FALSE, 100);
            if (result < WAIT_OBJECT_0 + m_handles.size()) {
                WIN32_FILE_ATTRIBUTE_DATA data = {};
                const bool exists = ::GetFileAttributesExW(m_file.c_str(), GetFileExInfoStandard, &data) != 0;
                m_wakes.push_back({m_indices[result - WAIT_OBJECT_0], exists ? data.nFileSizeLow : 0});
            }
        }
    }
    std::vector<int16_t> m_indices;
    std::wstring m_file;
    std::vector<HANDLE> m_handles;
    std::vector<Wake> m_wakes;
    std::thread m_thread;
};

constexpr uint32_t kThumbnailFileSize = 54 + 1680 * 431;  // 559 x 431 at 24 bits, rows padded to 1680 bytes

class TavikTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1280);
        ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1024);
    }
};

}  // namespace

TEST_F(TavikTest, Build3LeavingForDesktop1AsksTheHubThenSavesThenTellsTheOthers) {
    HubEvents events;
    TavikRun tavik(3);
    ASSERT_TRUE(tavik.Start());
    // SwitchToDesktop1, then Switcher1Update3, Switcher2Update3, Switcher4Update3.
    EventWatcher watcher(events, {41, 2, 12, 33}, tavik.Screenshot());
    ASSERT_TRUE(tavik.Send("SwitchToDesktop1"));
    const std::vector<Wake> wakes = watcher.Join();

    ASSERT_EQ(wakes.size(), 4u);
    EXPECT_EQ(wakes[0].index, 41);
    EXPECT_EQ(wakes[0].fileSize, 0u) << "the file was written before the switch was asked for";
    std::set<int16_t> updates;
    for (size_t i = 1; i < wakes.size(); ++i) {
        updates.insert(wakes[i].index);
        EXPECT_EQ(wakes[i].fileSize, kThumbnailFileSize) << "update " << wakes[i].index << " before the file was whole";
    }
    EXPECT_EQ(updates, (std::set<int16_t>{2, 12, 33}));
    EXPECT_EQ(events.SetSince(), std::set<int16_t>{}) << "no other event is set";

    EXPECT_EQ(ReadBmpInfo(ReadFileBytes(tavik.Screenshot())), (BmpInfo{559, 431, 24, kThumbnailFileSize}));
    for (const wchar_t *other : {L"desktop1.bmp", L"desktop2.bmp", L"desktop4.bmp", L"desktop3.bmp.new"})
        EXPECT_FALSE(FileExists(tavik.Folder().File(other))) << other;
    EXPECT_TRUE(tavik.Running());
}

TEST_F(TavikTest, EveryBuildTellsTheOtherThreeAboutItsOwnDesktop) {
    HubEvents events;
    for (int16_t desk : {1, 2, 4}) {
        TavikRun tavik(desk);
        ASSERT_TRUE(tavik.Start()) << desk;
        const int16_t target = desk == 4 ? 3 : 4;
        ASSERT_TRUE(tavik.Send("SwitchToDesktop" + std::to_string(target)));
        std::set<int16_t> expected{static_cast<int16_t>(40 + target)};
        for (int16_t x = 1; x <= 4; ++x) {
            if (x != desk)
                expected.insert(PairEventIndex(PairKindUpdate, x, desk));
        }
        EXPECT_EQ(events.SetUntil(expected), expected) << desk;
        EXPECT_EQ(ReadBmpInfo(ReadFileBytes(tavik.Screenshot())).width, 559) << desk;
    }
}

TEST_F(TavikTest, WithoutFreeImageTheSwitchIsStillAskedForAndNoFileWritten) {
    HubEvents events;
    TavikRun tavik(3, false);
    ASSERT_TRUE(tavik.Start());
    ASSERT_TRUE(tavik.Send("SwitchToDesktop2"));
    EXPECT_EQ(events.SetUntil({2, 12, 33, 42}), (std::set<int16_t>{2, 12, 33, 42}));
    EXPECT_FALSE(FileExists(tavik.Screenshot()));
    EXPECT_FALSE(FileExists(tavik.Screenshot() + L".new"));
    EXPECT_TRUE(tavik.Running());
}

TEST_F(TavikTest, ASaveThatCannotWriteLeavesThePreviousFile) {
    HubEvents events;
    TavikRun tavik(3);
    ASSERT_TRUE(WriteFileBytes(tavik.Screenshot(), "the previous picture"));
    ASSERT_TRUE(tavik.Start());
    {
        // Another switcher is reading the file and does not let it be replaced.
        const FileHandle reader(::CreateFileW(tavik.Screenshot().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        ASSERT_TRUE(tavik.Send("SwitchToDesktop4"));
        EXPECT_EQ(events.SetUntil({2, 12, 33, 44}), (std::set<int16_t>{2, 12, 33, 44}));
        EXPECT_EQ(ReadFileBytes(tavik.Screenshot()), "the previous picture");
        EXPECT_FALSE(FileExists(tavik.Screenshot() + L".new"));
    }
    ASSERT_TRUE(tavik.Send("SwitchToDesktop4"));
    events.SetUntil({2, 12, 33, 44});
    EXPECT_EQ(ReadBmpInfo(ReadFileBytes(tavik.Screenshot())).fileSize, kThumbnailFileSize);
}

TEST_F(TavikTest, OneMissingEventIsLoggedAndReportedAndEndsTheProgram) {
    HubEvents events({12});
    TavikRun tavik(3);
    tavik.Start();
    EXPECT_EQ(tavik.ExitCode(), 1u);
    const auto log = Lines(ReadFileBytes(tavik.Folder().File(L"VarnelErrors.txt")));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(EndsWith(log[0], " Tavik3: Unable to open event Local\\nuvoq_Switcher2Update3")) << log[0];
    ASSERT_TRUE(WaitFor([&] { return Lines(RecorderLines(tavik.Folder(), L"varnelerror")).size() == 1; }));
    const auto reports = Lines(RecorderLines(tavik.Folder(), L"varnelerror"));
    // Started minimized with the code 1 and an empty text.
    EXPECT_EQ(reports[0].rfind("Default|2|", 0), 0u) << reports[0];
    EXPECT_TRUE(EndsWith(reports[0], "varnelerror.exe\" 1 ") || EndsWith(reports[0], "varnelerror.exe 1 "))
        << reports[0];
}

TEST_F(TavikTest, EachMissingEventGetsItsOwnLineAndReport) {
    HubEvents events({1, 25, 47});
    TavikRun tavik(3);
    tavik.Start();
    EXPECT_EQ(tavik.ExitCode(), 1u);
    const auto log = Lines(ReadFileBytes(tavik.Folder().File(L"VarnelErrors.txt")));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(EndsWith(log[0], "Tavik3: Unable to open event Local\\nuvoq_Switcher1Update2")) << log[0];
    EXPECT_TRUE(EndsWith(log[1], "Tavik3: Unable to open event Local\\nuvoq_Switcher3ToDesktop2")) << log[1];
    EXPECT_TRUE(EndsWith(log[2], "Tavik3: Unable to open event Local\\nuvoq_ShutdownDesktops")) << log[2];
    EXPECT_TRUE(WaitFor([&] { return Lines(RecorderLines(tavik.Folder(), L"varnelerror")).size() == 3; }));
}

TEST_F(TavikTest, OnlyTheExactWordsAreCommands) {
    HubEvents events;
    TavikRun tavik(3);
    ASSERT_TRUE(tavik.Start());
    for (std::string_view word :
         {std::string_view("endapp"), std::string_view("EndApp "), std::string_view("EndApp\0", 7),
          std::string_view("ENDAPP"), std::string_view(""), std::string_view("switchToDesktop1"),
          std::string_view("SwitchToDesktop5"), std::string_view("SwitchToDesktop1\0", 17)}) {
        ASSERT_TRUE(tavik.Send(word));
        EXPECT_TRUE(tavik.Running()) << word.size();
    }
    EXPECT_EQ(events.SetSince(), std::set<int16_t>{});
    EXPECT_FALSE(FileExists(tavik.Screenshot()));

    const HWND window = tavik.Window();
    ASSERT_TRUE(tavik.Send("EndApp"));
    EXPECT_EQ(tavik.ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(TavikTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    HubEvents events;
    const KeeperIcon keeper;
    TavikRun tavik(3);
    ASSERT_TRUE(tavik.Start());
    // The shell restarts and has lost every icon; it tells every top-level window (Wine never does).
    ASSERT_TRUE(ShellHadIcon(tavik.Window()));
    ASSERT_FALSE(ShellHadIcon(tavik.Window()));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                          &result);
    EXPECT_TRUE(ShellHadIcon(tavik.Window()));
}
