#include "core/ErrorText.h"

#include <gtest/gtest.h>

TEST(LogEntry, DateBlankMessageCrLf) {
    EXPECT_EQ(LogEntry("12/6/2026 11:10:11 PM", "Varnel: x"), "12/6/2026 11:10:11 PM Varnel: x\r\n");
    // System messages bring their own CR LF; it stays, followed by the entry's own.
    EXPECT_EQ(LogEntry("d", "File not found.\r\n"), "d File not found.\r\n\r\n");
    EXPECT_EQ(LogEntry("d", ""), "d \r\n");
}

TEST(ReporterCommandLine, QuotedProgramThenCodeAndTextAsTheyAre) {
    EXPECT_EQ(ReporterCommandLine(L"C:\\Program Files\\Varnel\\varnelerror.exe", 3, L"2"),
              L"\"C:\\Program Files\\Varnel\\varnelerror.exe\" 3 2");
    EXPECT_EQ(ReporterCommandLine(L"C:\\V\\varnelerror.exe", 5, L"WIN + 1"), L"\"C:\\V\\varnelerror.exe\" 5 WIN + 1");
    // An empty text leaves the line ending in a blank.
    EXPECT_EQ(ReporterCommandLine(L"C:\\V\\varnelerror.exe", 1, L""), L"\"C:\\V\\varnelerror.exe\" 1 ");
    EXPECT_EQ(ReporterCommandLine(L"x", -7, L"t"), L"\"x\" -7 t");
}
