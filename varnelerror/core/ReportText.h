// The error reporter's words: its report read from the command line ("CODE TEXT"), and what it tells the user
// about every report it has received. Pure, so the texts are unit-tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t MaxReportText = 200;  // longer texts are cut; the log has them whole
inline constexpr size_t MaxReports = 12;      // distinct reports one window lists

struct Report {
    std::optional<int32_t> code;  // empty: missing or not a plain decimal number
    std::wstring text;
    bool operator==(const Report &) const = default;
};

// What follows the program's own name on its command line, quoted or not.
std::wstring_view ArgumentsOf(std::wstring_view commandLine, std::wstring_view ownPath);
// The code in plain decimal, one blank, the rest as the text. Anything else keeps the whole line as the text.
Report ParseReport(std::wstring_view arguments);

// The reports one window shows, in order of arrival, each once.
class ReportList {
public:
    // False when the report is there already or the list is full.
    bool Add(Report report);
    const std::vector<Report> &Reports() const { return m_reports; }
    // Paragraphs for the user, one per kind of problem, then where the log is (`logPath` may be empty).
    std::wstring Message(std::wstring_view logPath) const;

private:
    std::vector<Report> m_reports;
    bool m_overflow = false;
};
