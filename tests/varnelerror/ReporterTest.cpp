// The error reporter under Wine on desktops of the test's own, started through ReportError (probe.exe) as
// Varnel's programs start it: one window per desktop, which later reports join.
#include "ReporterWindow.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

BOOL CALLBACK CollectReporter(HWND window, LPARAM found) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) == ReporterClassName)
        reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> Windows(HDESK desktop) {
    std::vector<HWND> windows;
    ::EnumDesktopWindows(desktop, CollectReporter, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring Words(HWND window) {
    return WideWindowText(::GetDlgItem(window, ReportTextId));
}

// The desktop's one reporter window, once its words contain all `parts` (nullptr when that did not happen).
HWND ShownWith(HDESK desktop, std::initializer_list<const wchar_t *> parts) {
    std::vector<HWND> windows;
    const auto showsAll = [&] {
        windows = Windows(desktop);
        const std::wstring words = windows.size() == 1 ? Words(windows[0]) : L"";
        return std::all_of(parts.begin(), parts.end(), [&](auto part) { return words.find(part) != words.npos; });
    };
    return WaitFor(showsAll) ? windows[0] : nullptr;
}

}  // namespace

TEST(ReporterTest, EachDesktopShowsOneRestoredWindowThatLaterReportsJoin) {
    const TempFolder folder;
    ASSERT_TRUE(folder.Add(ProgramFolder() + L"\\varnelerror.exe", L"varnelerror.exe"));
    ASSERT_TRUE(folder.Add(TestBinDir() + L"\\probe.exe", L"probe.exe"));
    const Desktop desktops[] = {Desktop(::CreateDesktopW(L"reportertest", nullptr, nullptr, 0, GENERIC_ALL, nullptr)),
                                Desktop(::CreateDesktopW(L"reportertest2", nullptr, nullptr, 0, GENERIC_ALL, nullptr))};
    struct CloseAll {  // whatever the outcome, no reporter outlives the test
        const Desktop *desktops;
        ~CloseAll() {
            for (const HDESK desktop : {desktops[0].Get(), desktops[1].Get()}) {
                for (const HWND shown : Windows(desktop))
                    ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
                EXPECT_TRUE(WaitFor([&] { return Windows(desktop).empty(); }));
            }
        }
    } closeAll{desktops};
    auto report = [&](const wchar_t *desktop, const std::wstring &codeAndText) {
        return StartProcess(folder.File(L"probe.exe"), L"probe.exe report " + codeAndText, desktop);
    };
    // As at the hub's start when its hot keys are taken: reports starting together meet in one window.
    for (const wchar_t *key : {L"1", L"2", L"`"})
        report(L"reportertest", L"5 WIN + " + std::wstring(key));
    report(L"reportertest2", L"3 2");
    const HWND window = ShownWith(desktops[0].Get(), {L"keys WIN", L"WIN + 1", L"WIN + 2", L"WIN + `"});
    ASSERT_NE(window, nullptr);
    ASSERT_NE(ShownWith(desktops[1].Get(), {L"Varnel could not set up desktop 2"}), nullptr);
    // Started minimized by ReportError, restored for the user (the style tells: not IsWindowVisible under Wine).
    EXPECT_TRUE(
        WaitFor([&] { return (::GetWindowLongW(window, GWL_STYLE) & (WS_MINIMIZE | WS_VISIBLE)) == WS_VISIBLE; }));
    EXPECT_TRUE(Words(window).ends_with(L"to the file " + folder.File(L"VarnelErrors.txt") + L"."));

    // A later report joins the window; a repeat adds nothing; the other desktop's window stays its own.
    report(L"reportertest", L"6 ALT + F1");
    EXPECT_EQ(ShownWith(desktops[0].Get(), {L"WIN + `", L"could not let go of the shortcut key ALT + F1"}), window);
    const std::wstring words = Words(window);
    const std::wstring reporter = folder.File(L"varnelerror.exe");
    const KernelHandle repeat = StartProcess(reporter, L"\"" + reporter + L"\" 6 ALT + F1", L"reportertest");
    ASSERT_EQ(::WaitForSingleObject(repeat.Get(), 10000), WAIT_OBJECT_0) << "the repeat was not handed on";
    EXPECT_EQ(Words(window), words);
    EXPECT_EQ(Words(Windows(desktops[1].Get())[0]).find(L"WIN"), std::wstring::npos);
}
