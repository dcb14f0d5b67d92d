// The error log and the reporter start, seen from a throwaway program folder whose name has a blank.
#include "AnsiText.h"
#include "TestSupport.h"
#include "WinAPIError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <vector>

TEST(WinAPIErrorText, SystemTextOrEmpty) {
    const std::string missing = WinAPIErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_GE(missing.size(), 3u);
    EXPECT_EQ(missing.substr(missing.size() - 2), "\r\n");
    EXPECT_NE(missing, WinAPIErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(WinAPIErrorText(0x7FFFFFFF), "");
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.Add(TestBinDir() + L"\\probe.exe", L"probe.exe")); }
    DWORD Probe(const std::wstring &arguments) {
        return RunProcess(m_folder.File(L"probe.exe"), L"probe.exe " + arguments);
    }
    TempFolder m_folder;
};

TEST_F(LogTest, EntriesAppendInCallOrderWithDateAndTime) {
    ASSERT_EQ(Probe(L"log Varnel: first"), 0u);
    ASSERT_EQ(Probe(L"log Tavik2: second"), 0u);
    const std::string log = ReadFileBytes(m_folder.File(L"VarnelErrors.txt"));
    // Two entries: a date and a time (digits and separators, maybe AM/PM), a blank, the message, CR LF.
    const std::regex entries(R"(\d[^\r\n]*\d(?: ?[AP]M)? Varnel: first\r\n\d[^\r\n]*\d(?: ?[AP]M)? Tavik2: second\r\n)");
    EXPECT_TRUE(std::regex_match(log, entries)) << log;
}

TEST_F(LogTest, ProgramsLoggingAtOnceKeepEveryEntryWhole) {
    std::vector<KernelHandle> writers;
    for (const wchar_t *name : {L"Pellum1", L"Pellum2", L"Pellum3", L"VarnelEventHandler"})
        writers.push_back(StartProcess(m_folder.File(L"probe.exe"), L"probe.exe logs 150 " + std::wstring(name) +
                                                                        L": No window to take EndApp; dropped"));
    for (const KernelHandle &writer : writers)
        ASSERT_EQ(::WaitForSingleObject(writer.Get(), 20000), WAIT_OBJECT_0);
    const std::string log = ReadFileBytes(m_folder.File(L"VarnelErrors.txt"));
    const std::regex entry(R"(\d[^\r\n]*\d(?: ?[AP]M)? \w+: No window to take EndApp; dropped\r\n)");
    const auto entries = std::distance(std::sregex_iterator(log.begin(), log.end(), entry), std::sregex_iterator());
    EXPECT_EQ(entries, 600);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 600);
}

TEST_F(LogTest, ReporterGetsQuotedPathCodeAndTextMinimized) {
    ASSERT_TRUE(m_folder.Add(TestBinDir() + L"\\recorder.exe", L"varnelerror.exe"));
    ASSERT_EQ(Probe(L"report 3 2"), 0u);
    ASSERT_EQ(Probe(L"report 5 WIN + 1"), 0u);
    ASSERT_EQ(Probe(L"report 1"), 0u);
    const std::string path = ToAnsi(m_folder.File(L"varnelerror.exe"));
    const std::string expected = "Default|2|\"" + path + "\" 3 2\r\n" + "Default|2|\"" + path + "\" 5 WIN + 1\r\n" +
                                 "Default|2|\"" + path + "\" 1 \r\n";
    // The reporter runs on its own: wait for all three records, in any order of arrival.
    EXPECT_TRUE(WaitFor([&] { return RecorderLines(m_folder, L"varnelerror").size() >= expected.size(); }));
    std::string lines = RecorderLines(m_folder, L"varnelerror");
    for (const char *code : {" 3 2\r\n", " 5 WIN + 1\r\n", " 1 \r\n"})
        EXPECT_NE(lines.find("Default|2|\"" + path + "\"" + code), std::string::npos) << lines;
    EXPECT_EQ(lines.size(), expected.size()) << lines;
}

TEST_F(LogTest, AMissingReporterIsHarmless) {
    EXPECT_EQ(Probe(L"report 3 2"), 0u);
    EXPECT_FALSE(FileExists(m_folder.File(L"VarnelErrors.txt")));
}
