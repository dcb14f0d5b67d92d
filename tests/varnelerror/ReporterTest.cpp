// The error reporter under Wine, on desktops of the test's own: started through ReportError (probe.exe) as
// Varnel's programs start it, or directly with a command line of the test's choosing.
#include "AnsiText.h"
#include "Handles.h"
#include "ReporterWindow.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr const wchar_t *kDesktop = L"reportertest";
constexpr const wchar_t *kOtherDesktop = L"reportertest2";

BOOL CALLBACK CollectReporter(HWND window, LPARAM windows) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) == ReporterClassName)
        reinterpret_cast<std::vector<HWND> *>(windows)->push_back(window);
    return TRUE;
}

std::string Narrow(const std::wstring &text) {
    return ToAnsi(text);
}

class ReporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_desktop.Reset(::CreateDesktopW(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
        ASSERT_TRUE(m_desktop);
        ASSERT_TRUE(Windows().empty()) << "a reporter window was left on the test desktop";
        ASSERT_TRUE(m_folder.Add(ProgramFolder() + L"\\varnelerror.exe", L"varnelerror.exe"));
        ASSERT_TRUE(m_folder.Add(TestBinDir() + L"\\probe.exe", L"probe.exe"));
    }
    void TearDown() override {
        for (const HDESK desktop : {m_desktop.Get(), m_other.Get()}) {
            for (const HWND window : Windows(desktop))
                ::PostMessageW(window, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitFor([&] { return Windows(desktop).empty(); }));
        }
    }

    std::vector<HWND> Windows(HDESK desktop = nullptr) const {
        std::vector<HWND> windows;
        if (desktop == nullptr)
            desktop = m_desktop.Get();
        if (desktop != nullptr)
            ::EnumDesktopWindows(desktop, CollectReporter, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }
    // The one reporter window of the test desktop, once it shows `part` (nullptr when that did not happen).
    HWND WindowShowing(const std::wstring &part) const {
        HWND found = nullptr;
        WaitFor([&] {
            const std::vector<HWND> windows = Windows();
            found =
                windows.size() == 1 && WideWindowText(::GetDlgItem(windows[0], ReportTextId)).find(part) != std::wstring::npos
                    ? windows[0]
                    : nullptr;
            return found != nullptr;
        });
        return found;
    }
    static std::wstring Words(HWND window) { return WideWindowText(::GetDlgItem(window, ReportTextId)); }

    // Reports as Varnel's programs do: ReportError from a program in the folder, on the given desktop.
    void Report(const std::wstring &codeAndText, const wchar_t *desktop = kDesktop) {
        KernelHandle probe = StartProcess(m_folder.File(L"probe.exe"), L"probe.exe report " + codeAndText, desktop);
        ASSERT_TRUE(probe);
        ASSERT_EQ(::WaitForSingleObject(probe.Get(), 10000), WAIT_OBJECT_0);
    }
    KernelHandle StartReporter(const std::wstring &commandLine) {
        return StartProcess(m_folder.File(L"varnelerror.exe"), commandLine, kDesktop);
    }
    std::wstring Quoted() const { return L"\"" + m_folder.File(L"varnelerror.exe") + L"\""; }
    static DWORD WaitExit(HANDLE process) {
        if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        return code;
    }

    Desktop m_desktop;
    Desktop m_other;
    TempFolder m_folder;
};

}  // namespace

TEST_F(ReporterTest, AReportShowsOneRestoredWindowWithItsWords) {
    Report(L"5 WIN + 1");
    const HWND window = WindowShowing(L"The shortcut key WIN + 1 is already used by another program");
    ASSERT_NE(window, nullptr);
    // Started minimized, as ReportError asks, but restored so the user sees it.
    // (Wine answers IsWindowVisible for another desktop's window with false: the style tells.)
    EXPECT_TRUE(WaitFor([&] {
        return (::GetWindowLongW(window, GWL_STYLE) & (WS_VISIBLE | WS_MINIMIZE)) == WS_VISIBLE;
    })) << std::hex
        << ::GetWindowLongW(window, GWL_STYLE);
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Varnel");
    const std::wstring words = Words(window);
    const std::wstring log = L"to the file " + m_folder.File(L"VarnelErrors.txt") + L".";
    EXPECT_EQ(words.substr(words.size() - log.size()), log) << Narrow(words);
    // The words get a box of several lines, and the window lies on the screen.
    RECT text = {};
    ::GetWindowRect(::GetDlgItem(window, ReportTextId), &text);
    EXPECT_GT(text.bottom - text.top, 3 * 8);
    RECT frame = {};
    ::GetWindowRect(window, &frame);
    EXPECT_GE(frame.left, 0);
    EXPECT_GE(frame.top, 0);
    EXPECT_LE(frame.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(frame.bottom, ::GetSystemMetrics(SM_CYSCREEN));

    // The OK button ends it.
    ::PostMessageW(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Windows().empty(); }));
}

TEST_F(ReporterTest, ALaterReportJoinsTheWindowAndARepeatAddsNothing) {
    Report(L"3 2");
    const HWND window = WindowShowing(L"Varnel could not set up desktop 2, so it has closed.");
    ASSERT_NE(window, nullptr);
    Report(L"6 ALT + F1");
    ASSERT_EQ(WindowShowing(L"Varnel could not let go of the shortcut key ALT + F1."), window);
    const std::wstring both = Words(window);
    EXPECT_EQ(both.find(L"Varnel could not set up desktop 2"), 0u) << Narrow(both);

    KernelHandle again = StartReporter(Quoted() + L" 3 2");
    ASSERT_TRUE(again);
    EXPECT_EQ(WaitExit(again.Get()), 0u);  // handed on and ended at once
    EXPECT_EQ(Windows(), std::vector<HWND>{window});
    EXPECT_EQ(Words(window), both);
}

TEST_F(ReporterTest, ReportsStartingTogetherMeetInOneWindow) {
    // As at the hub's start when all five hot keys are taken.
    std::vector<KernelHandle> probes;
    for (const wchar_t *key : {L"1", L"2", L"3", L"4", L"`"})
        probes.push_back(
            StartProcess(m_folder.File(L"probe.exe"), L"probe.exe report 5 WIN + " + std::wstring(key), kDesktop));
    const HWND window = WindowShowing(L"are already used by other programs");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] {
        const std::wstring words = Words(window);
        return words.find(L"WIN + 1") != std::wstring::npos && words.find(L"WIN + 2") != std::wstring::npos &&
               words.find(L"WIN + 3") != std::wstring::npos && words.find(L"WIN + 4") != std::wstring::npos &&
               words.find(L"WIN + `") != std::wstring::npos;
    })) << Narrow(Words(window));
    EXPECT_EQ(Windows().size(), 1u);
}

TEST_F(ReporterTest, EachDesktopHasItsOwnWindow) {
    m_other.Reset(::CreateDesktopW(kOtherDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    ASSERT_TRUE(m_other);
    Report(L"5 WIN + 1");
    ASSERT_NE(WindowShowing(L"WIN + 1"), nullptr);
    Report(L"5 WIN + 2", kOtherDesktop);
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> others = Windows(m_other.Get());
        return others.size() == 1 && Words(others[0]).find(L"WIN + 2") != std::wstring::npos;
    }));
    const std::wstring words = Words(Windows(m_other.Get())[0]);
    EXPECT_EQ(words.find(L"WIN + 1"), std::wstring::npos) << Narrow(words);
    EXPECT_EQ(Words(Windows()[0]).find(L"WIN + 2"), std::wstring::npos);
}

TEST_F(ReporterTest, MissingOrGarbledArgumentsStillGiveWordsAndACleanEnd) {
    const std::wstring path = m_folder.File(L"varnelerror.exe");
    const struct {
        std::wstring commandLine;
        std::wstring start;  // how the words begin
    } cases[] = {
        {Quoted(), L"Varnel reported a problem but gave no details."},
        {Quoted() + L" ", L"Varnel reported a problem but gave no details."},
        {Quoted() + L" abc def", L"Varnel reported a problem: abc def\r\n"},
        {Quoted() + L" -1", L"Varnel reported a problem: -1\r\n"},
        {Quoted() + L" 4294967297 x", L"Varnel reported a problem: 4294967297 x\r\n"},
        {Quoted() + L" 4 x", L"Varnel reported a problem with the code 4: x\r\n"},
        {Quoted() + L" 5 " + std::wstring(3000, L'k'),
         L"The shortcut key " + std::wstring(MaxReportText, L'k') + L"... is"},
        {Quoted() + L" 5 \tWIN\r\n+ 1", L"The shortcut key WIN  + 1 is"},
        // Unquoted, though the folder's name has a blank: the program's own path is still recognised.
        {path + L" 3 2", L"Varnel could not set up desktop 2,"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(Narrow(c.commandLine.substr(0, 120)));
        KernelHandle reporter = StartReporter(c.commandLine);
        ASSERT_TRUE(reporter);
        ASSERT_TRUE(WaitFor([&] { return Windows().size() == 1 && !Words(Windows()[0]).empty(); }));
        const std::wstring words = Words(Windows()[0]);
        EXPECT_EQ(words.substr(0, c.start.size()), c.start) << Narrow(words);
        ::PostMessageW(Windows()[0], WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WaitExit(reporter.Get()), 0u);
    }
}

TEST_F(ReporterTest, OnlyAWellFormedHandOffIsTaken) {
    Report(L"2");
    const HWND window = WindowShowing(L"Varnel could not set up the signals");
    ASSERT_NE(window, nullptr);
    const std::wstring before = Words(window);
    auto send = [&](ULONG_PTR id, std::wstring data, DWORD bytes) {
        COPYDATASTRUCT block = {id, bytes, data.data()};
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG, 5000,
                              &answer);
        return answer;
    };
    const std::wstring report = L" 5 WIN + 9";
    const DWORD bytes = static_cast<DWORD>(report.size() * sizeof(wchar_t));
    EXPECT_EQ(send(0, report, bytes), static_cast<DWORD_PTR>(FALSE));                    // not a hand-off
    EXPECT_EQ(send(ReportHandOffId, report, bytes - 1), static_cast<DWORD_PTR>(FALSE));  // half a character
    const std::wstring huge(40000, L'7');
    EXPECT_EQ(send(ReportHandOffId, huge, static_cast<DWORD>(huge.size() * sizeof(wchar_t))),
              static_cast<DWORD_PTR>(FALSE));
    EXPECT_EQ(Words(window), before);
    EXPECT_EQ(send(ReportHandOffId, report, bytes), static_cast<DWORD_PTR>(TRUE));
    EXPECT_NE(Words(window).find(L"The shortcut key WIN + 9 is"), std::wstring::npos) << Narrow(Words(window));
}
