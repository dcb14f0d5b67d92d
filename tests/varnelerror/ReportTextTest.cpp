// The reporter's words: reading "CODE TEXT" from a command line, and what the user is told per code.
#include "core/ReportText.h"
#include "core/ReporterLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::wstring kOwn = L"C:\\Program Files\\Varnel\\varnelerror.exe";

std::wstring MessageOf(std::initializer_list<Report> reports, std::wstring_view logPath = L"") {
    ReportList list;
    for (const Report &report : reports)
        list.Add(report);
    return list.Message(logPath);
}

constexpr std::wstring_view kRestart =
    L"Open the Varnel Control Panel, click \"Shutdown Varnel\" and then \"Start Varnel\".";

}  // namespace

TEST(ArgumentsOf, SkipsTheProgramNameQuotedOrNot) {
    const struct {
        std::wstring line;
        std::wstring arguments;
    } cases[] = {
        {L"\"C:\\Program Files\\Varnel\\varnelerror.exe\" 5 WIN + 1", L" 5 WIN + 1"},
        {L"\"C:\\Program Files\\Varnel\\varnelerror.exe\" 1 ", L" 1 "},
        {L"\"C:\\Program Files\\Varnel\\varnelerror.exe\"", L""},
        {L"\"C:\\Program Files\\Varnel\\varnelerror.exe", L""},  // no closing quote: all of it is the name
        {L"C:\\Program Files\\Varnel\\varnelerror.exe 3 2", L" 3 2"},
        {L"c:\\program files\\varnel\\VARNELERROR.EXE 3 2", L" 3 2"},
        {L"C:\\Program Files\\Varnel\\varnelerror.exe", L""},
        {L"varnelerror.exe 7 ", L" 7 "},
        {L"  varnelerror 6 ALT + F1", L" 6 ALT + F1"},
        {L"varnelerror", L""},
        {L"", L""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ArgumentsOf(c.line, kOwn), c.arguments) << std::string(c.line.begin(), c.line.end());
}

TEST(ParseReport, CodeOneBlankAndTheRestAsText) {
    struct Case {
        std::wstring arguments;
        Report report;
    };
    const std::vector<Case> cases = {
        {L" 5 WIN + 1", {5, L"WIN + 1"}},
        {L" 3 2", {3, L"2"}},
        {L" 1 ", {1, L""}},
        {L" 2", {2, L""}},
        {L"7", {7, L""}},
        {L" 5  CTRL + ALT + `  ", {5, L"CTRL + ALT + `"}},
        {L" 0042 x", {42, L"x"}},
        {L" 2147483647 x", {2147483647, L"x"}},
        {L" 5 line\r\nend\tx", {5, L"line  end x"}},
        // Not a plain decimal code: no code, the whole line is kept as the text.
        {L"", {std::nullopt, L""}},
        {L"   ", {std::nullopt, L""}},
        {L" abc", {std::nullopt, L"abc"}},
        {L" -1 x", {std::nullopt, L"-1 x"}},
        {L" +5 x", {std::nullopt, L"+5 x"}},
        {L" 5x WIN", {std::nullopt, L"5x WIN"}},
        {L" 2147483648 x", {std::nullopt, L"2147483648 x"}},
        {L" 99999999999999999999999 x", {std::nullopt, L"99999999999999999999999 x"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseReport(c.arguments), c.report) << std::string(c.arguments.begin(), c.arguments.end());
}

TEST(ParseReport, LongTextsAreCut) {
    const Report report = ParseReport(L"5 " + std::wstring(5000, L'k'));
    EXPECT_EQ(report.code, 5);
    EXPECT_EQ(report.text, std::wstring(MaxReportText, L'k') + L"...");
}

TEST(ReportMessage, OneReportPerCode) {
    struct Case {
        std::optional<int32_t> code;
        const wchar_t *text;
        std::wstring message;
    };
    const std::vector<Case> cases = {
        {1, L"",
         L"A Varnel desktop switcher could not reach the Varnel hub and has closed: the hub is not running, or it has "
         L"ended.\r\nTo start Varnel again, open the Varnel Control Panel and click \"Start Varnel\". If it answers "
         L"that Varnel is already running, click \"Shutdown Varnel\" first."},
        {2, L"",
         L"Varnel could not set up the signals its programs use to talk to each other, so it has closed.\r\n" +
             std::wstring(kRestart) + L" If this happens again, sign out of Windows and back in."},
        {3, L"2",
         L"Varnel could not set up desktop 2, so it has closed.\r\nThe Varnel programs it had started close too. "
         L"Check that all of Varnel's program files are in its folder, then open the Varnel Control Panel and click "
         L"\"Start Varnel\". If it answers that Varnel is already running, wait a few seconds and click \"Start "
         L"Varnel\" again."},
        {3, L"",
         L"Varnel could not set up one of its desktops, so it has closed.\r\nThe Varnel programs it had started "
         L"close too. Check that all of Varnel's program files are in its folder, then open the Varnel Control Panel "
         L"and click \"Start Varnel\". If it answers that Varnel is already running, wait a few seconds and click "
         L"\"Start Varnel\" again."},
        {3, L"9",
         L"Varnel could not set up one of its desktops, so it has closed.\r\nThe Varnel programs it had started "
         L"close too. Check that all of Varnel's program files are in its folder, then open the Varnel Control Panel "
         L"and click \"Start Varnel\". If it answers that Varnel is already running, wait a few seconds and click "
         L"\"Start Varnel\" again.\r\nDetails: 9"},
        {5, L"WIN + 1",
         L"The shortcut key WIN + 1 is already used by another program, so Varnel cannot use it. Windows itself uses "
         L"the Windows key with the digits 1 to 9 for the programs on the taskbar.\r\nOpen the Varnel Control Panel "
         L"and choose another key on the \"Shortcut keys\" page: beside each key it shows whether the key is free."},
        {5, L"CTRL + ALT + 1",
         L"The shortcut key CTRL + ALT + 1 is already used by another program, so Varnel cannot use it.\r\nOpen the "
         L"Varnel Control Panel and choose another key on the \"Shortcut keys\" page: beside each key it shows "
         L"whether the key is free."},
        {5, L"",
         L"One of Varnel's shortcut keys is already used by another program, so Varnel cannot use it.\r\nOpen the "
         L"Varnel Control Panel and choose another key on the \"Shortcut keys\" page: beside each key it shows "
         L"whether the key is free."},
        {6, L"CTRL + ALT + Left",
         L"Varnel could not let go of the shortcut key CTRL + ALT + Left. Other programs cannot use it until Varnel "
         L"ends.\r\n" +
             std::wstring(kRestart)},
        {7, L"",
         L"The Varnel Control Panel could not save your settings in the registry, so some of your changes may be "
         L"lost.\r\nOpen the Varnel Control Panel and save again. If that fails too, ask your administrator whether "
         L"you may change your settings."},
        {7, L"access denied",
         L"The Varnel Control Panel could not save your settings in the registry, so some of your changes may be "
         L"lost.\r\nOpen the Varnel Control Panel and save again. If that fails too, ask your administrator whether "
         L"you may change your settings.\r\nDetails: access denied"},
        {8, L"Tavik3.exe",
         L"Varnel's program Tavik3.exe stopped again and again, so Varnel no longer starts it.\r\n" +
             std::wstring(kRestart)},
        {4, L"x",
         L"Varnel reported a problem with the code 4: x\r\nIf Varnel does not work as it should: " +
             std::wstring(kRestart)},
        {0, L"",
         L"Varnel reported a problem with the code 0.\r\nIf Varnel does not work as it should: " +
             std::wstring(kRestart)},
        {std::nullopt, L"5x WIN",
         L"Varnel reported a problem: 5x WIN\r\nIf Varnel does not work as it should: " + std::wstring(kRestart)},
        {std::nullopt, L"",
         L"Varnel reported a problem but gave no details.\r\nIf Varnel does not work as it should: " +
             std::wstring(kRestart)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MessageOf({{c.code, c.text}}), c.message) << c.code.value_or(-1);
}

TEST(ReportMessage, ReportsOfOneKindShareAParagraph) {
    EXPECT_EQ(MessageOf({{5, L"WIN + 1"}, {5, L"WIN + 2"}, {5, L"WIN + 3"}, {5, L"WIN + 4"}}),
              L"The shortcut keys WIN + 1, WIN + 2, WIN + 3 and WIN + 4 are already used by other programs, so "
              L"Varnel cannot use them. Windows itself uses the Windows key with the digits 1 to 9 for the programs "
              L"on the taskbar.\r\nOpen the Varnel Control Panel and choose other keys on the \"Shortcut keys\" "
              L"page: beside each key it shows whether the key is free.");
    EXPECT_EQ(MessageOf({{6, L"WIN + 1"}, {6, L"WIN + `"}}),
              L"Varnel could not let go of the shortcut keys WIN + 1 and WIN + `. Other programs cannot use them "
              L"until Varnel ends.\r\n" +
                  std::wstring(kRestart));
    EXPECT_TRUE(MessageOf({{3, L"2"}, {3, L"3"}}).starts_with(L"Varnel could not set up desktops 2 and 3, so "));
    // The hub reports every event it cannot create: one paragraph says it.
    EXPECT_EQ(MessageOf({{2, L""}, {2, L""}, {2, L""}}), MessageOf({{2, L""}}));
}

TEST(ReportMessage, KindsInOrderOfArrivalThenTheLog) {
    const std::wstring message =
        MessageOf({{5, L"WIN + 1"}, {9, L"a"}, {2, L""}, {5, L"WIN + 2"}, {9, L"b"}}, L"C:\\V\\VarnelErrors.txt");
    const size_t keys = message.find(L"The shortcut keys WIN + 1 and WIN + 2 are");
    const size_t nineA = message.find(L"code 9: a\r");
    const size_t events = message.find(L"Varnel could not set up the signals");
    const size_t nineB = message.find(L"code 9: b\r");
    ASSERT_NE(nineB, std::wstring::npos) << std::string(message.begin(), message.end());
    EXPECT_EQ(keys, 0u);
    EXPECT_LT(keys, nineA);
    EXPECT_LT(nineA, events);
    EXPECT_LT(events, nineB);
    // Four paragraphs of two lines each, an empty line between them and before the log.
    EXPECT_EQ(std::count(message.begin(), message.end(), L'\n'), 12);
    const std::wstring_view tail =
        L"\r\n\r\nVarnel writes the details of every problem to the file "
        L"C:\\V\\VarnelErrors.txt.";
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
}

TEST(ReportList, KeepsEachReportOnceAndAtMostAFew) {
    ReportList list;
    EXPECT_TRUE(list.Add({5, L"WIN + 1"}));
    EXPECT_FALSE(list.Add({5, L"WIN + 1"}));
    EXPECT_TRUE(list.Add({6, L"WIN + 1"}));
    EXPECT_EQ(list.Reports().size(), 2u);
    for (int code = 100; list.Reports().size() < MaxReports; ++code)
        EXPECT_TRUE(list.Add({code, L""}));
    EXPECT_FALSE(list.Message(L"").ends_with(L"Further problems were reported as well."));
    EXPECT_FALSE(list.Add({1, L""}));
    EXPECT_EQ(list.Reports().size(), MaxReports);
    EXPECT_TRUE(list.Message(L"").ends_with(L"\r\n\r\nFurther problems were reported as well."));
}

TEST(ReporterLayout, IconTextAndButtonFromTheLineHeight) {
    // Line height 16, a 32-pixel icon, 5 lines of text: margins of one line, text wrapped at 28 lines' width.
    EXPECT_EQ(LayoutReporter(16, 32, 80, 600),
              (ReporterLayout{{16, 16, 48, 48}, {64, 16, 512, 96}, {416, 112, 512, 140}, 528, 156}));
    // Text shorter than the icon: the button goes below the icon.
    EXPECT_EQ(LayoutReporter(13, 32, 13, 600),
              (ReporterLayout{{13, 13, 45, 45}, {58, 13, 422, 26}, {344, 58, 422, 80}, 435, 93}));
    // Very long text is cut at the highest box allowed; no text still gets one line.
    EXPECT_EQ(LayoutReporter(16, 32, 5000, 700).text, (Box{64, 16, 512, 716}));
    EXPECT_EQ(LayoutReporter(16, 32, 0, 700).text, (Box{64, 16, 512, 32}));
}

TEST(ReporterLayout, KeepInsideMovesAsLittleAsNeeded) {
    const Box area = {0, 0, 1280, 994};
    EXPECT_EQ(KeepInside({100, 100, 600, 400}, area), (Box{100, 100, 600, 400}));
    EXPECT_EQ(KeepInside({1000, 800, 1500, 1100}, area), (Box{780, 694, 1280, 994}));
    EXPECT_EQ(KeepInside({-50, -20, 450, 280}, area), (Box{0, 0, 500, 300}));
    EXPECT_EQ(KeepInside({200, 100, 1700, 1200}, area), (Box{0, 0, 1500, 1100}));  // too large: top left shows
    EXPECT_EQ(KeepInside({10, 10, 20, 20}, {-1280, 0, 0, 1024}), (Box{-10, 10, 0, 20}));
}
