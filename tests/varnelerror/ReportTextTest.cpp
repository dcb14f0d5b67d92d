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
        {{9, L"CTRL + ALT|F1|F2|F3|F4|F5|WIN + 1"},
         L"Windows did not give Varnel its usual shortcut key WIN + 1: Windows itself uses the Windows key with the "
         L"digits 1 to 9 for the programs on the taskbar. So Varnel has chosen other keys and keeps them:\r\n"
         L"CTRL + ALT + F1, CTRL + ALT + F2, CTRL + ALT + F3 and CTRL + ALT + F4 go to desktops 1, 2, 3 and 4, and "
         L"CTRL + ALT + F5 goes back to the desktop you were on before.\r\nTo choose other keys, open the Varnel "
         L"Control Panel and go to its \"Shortcut keys\" page.\r\n\r\nEach desktop also has a Varnel icon"},
        {{9, L"SHIFT + ALT|1|2|3|4|`|WIN + 1|WIN + `"},
         L"Windows did not give Varnel its usual shortcut keys WIN + 1 and WIN + `: Windows itself uses"},
        {{9, L"CTRL + ALT|F1|F2|F3|F4|F5|WIN + `"},
         L"Windows did not give Varnel its usual shortcut key WIN + `: "
         L"another program uses it. So Varnel has chosen other keys"},
        {{10, L""}, L"Varnel was started with administrator rights, so it has closed without starting"},
        {{std::nullopt, L""}, L"Varnel reported a problem but gave no details.\r\n"},
    };
    for (const auto &[report, start] : cases)
        EXPECT_TRUE(MessageOf({report}).starts_with(start)) << report.code.value_or(-1);
    const std::wstring keys = MessageOf({{5, L"CTRL + 1"}, {4, L"a"}, {5, L"CTRL + 2"}, {5, L"CTRL + 1"}});
    EXPECT_TRUE(keys.starts_with(L"The shortcut keys CTRL + 1 and CTRL + 2 are already used by other programs"));
    EXPECT_NE(keys.find(L"cannot use them.\r\nOpen the Varnel Control Panel and choose other keys"), keys.npos);
    EXPECT_NE(keys.find(L"\r\n\r\nVarnel reported a problem with the code 4: a\r\n"), std::wstring::npos);
    // The first start's keys are news, not a problem: the log is named only beside a problem.
    ReportList news;
    news.Add({9, L"CTRL + ALT|F1|F2|F3|F4|F5|WIN + 1"});
    EXPECT_EQ(news.Message(L"log.txt").find(L"log.txt"), std::wstring::npos);
    EXPECT_NE(news.Message(L"").find(L"Settings > Personalization > Taskbar > Other system tray icons"),
              std::wstring::npos);
    news.Add({10, L""});
    EXPECT_TRUE(news.Message(L"log.txt").ends_with(L"the file log.txt."));
}
