// The reporter's words: the report read from its command line, and what the user is told per code.
#include "core/ReportText.h"

#include <gtest/gtest.h>

static std::wstring MessageOf(std::initializer_list<Report> reports) {
    ReportList list;
    for (const Report &report : reports)
        list.Add(report);
    return list.Message(L"");
}

TEST(ReportText, ACommandLineOfAnyPathGivesACodeAndATextAndEachCodeHasItsWords) {
    const std::wstring own = L"C:\\Program Files\\Varnel\\varnelerror.exe";
    EXPECT_EQ(ParseReport(ArgumentsOf(L"\"" + own + L"\" 5 WIN + 1", own)), (Report{5, L"WIN + 1"}));
    EXPECT_EQ(ParseReport(ArgumentsOf(L"c:\\program files\\varnel\\VARNELERROR.EXE 3 2", own)), (Report{3, L"2"}));
    EXPECT_EQ(ParseReport(ArgumentsOf(L"varnelerror 5  \tline\r\nend ", own)), (Report{5, L"line  end"}));
    EXPECT_EQ(ParseReport(L" 2147483648 x"), (Report{std::nullopt, L"2147483648 x"}));

    const std::pair<Report, std::wstring> cases[] = {
        {{1, L""}, L"A Varnel desktop switcher could not reach the Varnel hub and has closed"},
        {{2, L""}, L"Varnel could not set up the signals its programs use"},
        {{5, L"WIN + 1"}, L"The shortcut key WIN + 1 is already used by another program, so Varnel cannot use it."},
        {{7, L"x"}, L"The Varnel Control Panel could not save your settings"},
        {{8, L"Tavik3.exe"}, L"Varnel's program Tavik3.exe stopped again and again"},
        {{std::nullopt, L""}, L"Varnel reported a problem but gave no details.\r\n"},
    };
    for (const auto &[report, start] : cases)
        EXPECT_TRUE(MessageOf({report}).starts_with(start)) << report.code.value_or(-1);
    const std::wstring keys = MessageOf({{5, L"CTRL + 1"}, {9, L"a"}, {5, L"CTRL + 2"}, {5, L"CTRL + 1"}});
    EXPECT_TRUE(keys.starts_with(L"The shortcut keys CTRL + 1 and CTRL + 2 are already used by other programs"));
    EXPECT_NE(keys.find(L"cannot use them.\r\nOpen the Varnel Control Panel and choose other keys"), keys.npos);
    EXPECT_NE(keys.find(L"\r\n\r\nVarnel reported a problem with the code 9: a\r\n"), std::wstring::npos);
}
