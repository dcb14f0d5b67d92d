// The error log and the reporter start, seen from a throwaway program folder whose name has a blank.
#include "AnsiText.h"
#include "MessageLoop.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.Add(TestBinDir() + L"\\probe.exe", L"probe.exe")); }
    DWORD Probe(const std::wstring &args) { return RunProcess(m_folder.File(L"probe.exe"), L"probe.exe " + args); }
    TempFolder m_folder;
};

TEST_F(LogTest, ProgramsLoggingAtOnceKeepEveryEntryWholeInCallOrder) {
    ASSERT_EQ(Probe(L"log Varnel: first"), 0u);
    std::vector<KernelHandle> writers;
    for (const wchar_t *name : {L"Pellum1", L"Pellum2", L"Pellum3", L"VarnelEventHandler"})
        writers.push_back(StartProcess(m_folder.File(L"probe.exe"), L"probe.exe logs 500 " + std::wstring(name) +
                                                                        L": No window to take EndApp; dropped"));
    for (const KernelHandle &writer : writers)
        ASSERT_EQ(::WaitForSingleObject(writer.Get(), 20000), WAIT_OBJECT_0);
    ASSERT_EQ(Probe(L"log Tavik2: last"), 0u);
    const std::string log = ReadFileBytes(m_folder.File(L"VarnelErrors.txt"));
    // Entries: a date and a time (digits and separators, maybe AM/PM), a blank, the message, CR LF.
    const std::string stamp = R"(\d[^\r\n]*\d(?: ?[AP]M)? )";
    EXPECT_TRUE(std::regex_search(log, std::regex("^" + stamp + "Varnel: first\r\n")));
    EXPECT_TRUE(std::regex_search(log, std::regex("\n" + stamp + "Tavik2: last\r\n$")));
    const std::regex entry(stamp + "(Pellum\\d|VarnelEventHandler): No window to take EndApp; dropped\r\n");
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), entry), std::sregex_iterator()), 2000);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2002);
}

TEST_F(LogTest, ReporterGetsQuotedPathCodeAndTextMinimized) {
    EXPECT_EQ(Probe(L"report 3 2"), 0u);  // without a reporter: harmless, and nothing is logged
    EXPECT_FALSE(FileExists(m_folder.File(L"VarnelErrors.txt")));
    ASSERT_TRUE(m_folder.Add(TestBinDir() + L"\\recorder.exe", L"varnelerror.exe"));
    ASSERT_EQ(Probe(L"report 5 WIN + 1"), 0u);
    ASSERT_EQ(Probe(L"report 1"), 0u);
    const std::string start = "Default|2|\"" + ToAnsi(m_folder.File(L"varnelerror.exe")) + "\"";
    const std::string expected = start + " 5 WIN + 1\r\n" + start + " 1 \r\n";
    // The reporters run on their own: wait for both records, in any order of arrival.
    EXPECT_TRUE(WaitFor([&] { return RecorderLines(m_folder, L"varnelerror").size() >= expected.size(); }));
    const std::string lines = RecorderLines(m_folder, L"varnelerror");
    EXPECT_EQ(lines.size(), expected.size()) << lines;
    for (const char *rest : {" 5 WIN + 1\r\n", " 1 \r\n"})
        EXPECT_NE(lines.find(start + rest), std::string::npos) << lines;
}

// Wine once failed the wait for a copy-data block too large to deliver, which any process can send.
TEST(MessageLoopTest, AFailedWaitIsLoggedOnceAndTheLoopGoesOnToItsQuit) {
    const std::wstring log = ProgramDirectory() + L"\\VarnelErrors.txt";
    const size_t before = FileExists(log) ? ReadFileBytes(log).size() : 0;
    int calls = 0;
    MessageLoop loop("Loop test: ", nullptr, [&](MSG &message) -> BOOL {
        if (++calls <= 2 || calls == 4)
            return -1;
        return ::GetMessageW(&message, nullptr, 0, 0);
    });
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_USER, 0, 0);
    ::PostQuitMessage(7);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(calls, 5) << "failed, failed, WM_USER, failed, WM_QUIT";
    const std::string added = ReadFileBytes(log).substr(before);
    const std::regex entry("Loop test: A message could not be received: ");
    EXPECT_EQ(std::distance(std::sregex_iterator(added.begin(), added.end(), entry), std::sregex_iterator()), 1)
        << added;
}
