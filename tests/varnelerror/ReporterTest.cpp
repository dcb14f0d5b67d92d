// The error reporter under Wine on desktops of the test's own, started through ReportError (probe.exe) as
// Varnel's programs start it: one window per desktop, which later reports join.
#include "ReporterWindow.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

BOOL CALLBACK CollectReporter(HWND window, LPARAM found) {
    char name[64] = {};
    if (::GetClassNameA(window, name, sizeof name) > 0 && std::string(name) == ReporterClassName)
        reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> Windows(HDESK desktop) {
    std::vector<HWND> windows;
    ::EnumDesktopWindows(desktop, CollectReporter, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The desktop's one reporter window, once its words contain all `parts` (nullptr when that did not happen).
HWND ShownWith(HDESK desktop, std::initializer_list<const wchar_t *> parts) {
    std::vector<HWND> windows;
    const auto showsAll = [&] {
        windows = Windows(desktop);
        const std::wstring words = windows.size() == 1 ? WideWindowText(::GetDlgItem(windows[0], ReportTextId)) : L"";
        return std::all_of(parts.begin(), parts.end(), [&](auto part) { return words.find(part) != words.npos; });
    };
    return WaitFor(showsAll) ? windows[0] : nullptr;
}

// A desktop of the test's own; whatever the outcome, its reporters are closed with their OK button at the end.
struct OwnDesktop : Desktop {
    explicit OwnDesktop(const wchar_t *name)
        : Desktop(::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr)) {}
    ~OwnDesktop() {
        for (const HWND shown : Windows(Get()))
            ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return Windows(Get()).empty(); }));
    }
};

}  // namespace

TEST(ReporterTest, EachDesktopShowsOneRestoredWindowThatLaterReportsJoin) {
    const TempFolder folder;
    ASSERT_TRUE(folder.Add(ProgramFolder() + L"\\varnelerror.exe", L"varnelerror.exe"));
    ASSERT_TRUE(folder.Add(TestBinDir() + L"\\probe.exe", L"probe.exe"));
    const OwnDesktop desktop(L"reportertest"), other(L"reportertest2");
    const std::wstring probe = folder.File(L"probe.exe"), reporter = folder.File(L"varnelerror.exe");
    // As at the hub's start when its hot keys are taken: reports starting together meet in one window.
    for (const wchar_t *key : {L"1", L"2", L"`"})
        StartProcess(probe, L"probe.exe report 5 WIN + " + std::wstring(key), L"reportertest");
    StartProcess(probe, L"probe.exe report 3 2", L"reportertest2");
    const HWND window = ShownWith(desktop.Get(), {L"keys WIN", L"WIN + 1", L"WIN + 2", L"WIN + `"});
    ASSERT_NE(window, nullptr);
    const HWND words = ::GetDlgItem(window, ReportTextId);
    const HWND alone = ShownWith(other.Get(), {L"Varnel could not set up desktop 2"});
    ASSERT_NE(alone, nullptr);
    // Started minimized by ReportError, restored for the user (the style tells: not IsWindowVisible under Wine),
    // also when no later report came to restore it.
    const auto restored = [](HWND shown) {
        return WaitFor([&] { return (::GetWindowLongW(shown, GWL_STYLE) & (WS_MINIMIZE | WS_VISIBLE)) == WS_VISIBLE; });
    };
    EXPECT_TRUE(restored(window));
    EXPECT_TRUE(restored(alone));
    EXPECT_TRUE(WideWindowText(words).ends_with(L"to the file " + folder.File(L"VarnelErrors.txt") + L"."));

    // A later report joins this window, not the other desktop's, and brings it back if the user minimized it;
    // a repeat adds nothing.
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(window) != FALSE; }));
    StartProcess(probe, L"probe.exe report 6 ALT + F1", L"reportertest");
    EXPECT_EQ(ShownWith(desktop.Get(), {L"WIN + `", L"could not let go of the shortcut key ALT + F1"}), window);
    EXPECT_TRUE(restored(window));
    const std::wstring joined = WideWindowText(words);
    const KernelHandle repeat = StartProcess(reporter, L"varnelerror 6 ALT + F1", L"reportertest");
    ASSERT_EQ(::WaitForSingleObject(repeat.Get(), 10000), WAIT_OBJECT_0) << "the repeat was not handed on";
    EXPECT_EQ(WideWindowText(words), joined);
}
