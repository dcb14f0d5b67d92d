#include "ReportText.h"

#include "core/HotKeySets.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Line ends and other control characters would break the layout of the words around the text.
std::wstring Cleaned(std::wstring_view text) {
    std::wstring clean;
    for (const wchar_t c : text)
        clean += c < L' ' ? L' ' : c;
    clean = std::wstring(Trimmed(clean));
    if (clean.size() > MaxReportText)
        clean = clean.substr(0, MaxReportText) + L"...";
    return clean;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// "a", "a and b", "a, b and c".
std::wstring Listed(const std::vector<std::wstring> &items) {
    std::wstring list;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            list += i + 1 == items.size() ? L" and " : L", ";
        list += items[i];
    }
    return list;
}

constexpr std::wstring_view kRestart =
    L"Open the Varnel Control Panel, click \"Shutdown Varnel\" and then \"Start Varnel\".";

constexpr int32_t kFirstStartKeys = 9;  // an information, not a problem

struct Group {
    std::optional<int32_t> code;
    std::vector<std::wstring> texts;  // distinct, non-empty, in order of arrival
    bool known = false;               // the texts of unknown reports are shown one group each
};

std::wstring DetailsLine(const std::vector<std::wstring> &texts) {
    return texts.empty() ? std::wstring() : L"\r\nDetails: " + Listed(texts);
}

// Code 1: a switcher found none of the hub's events.
std::wstring HubUnreachable(const std::vector<std::wstring> &texts) {
    return L"A Varnel desktop switcher could not reach the Varnel hub and has closed: the hub is not running, or it "
           L"has ended.\r\nTo start Varnel again, open the Varnel Control Panel and click \"Start Varnel\". If it "
           L"answers that Varnel is already running, click \"Shutdown Varnel\" first." +
           DetailsLine(texts);
}

// Code 2: the hub could not create its events.
std::wstring EventsFailed(const std::vector<std::wstring> &texts) {
    return L"Varnel could not set up the signals its programs use to talk to each other, so it has closed.\r\n" +
           std::wstring(kRestart) + L" If this happens again, sign out of Windows and back in." + DetailsLine(texts);
}

// A failed start-up ends the Varnel programs it had started; until the last has gone (seconds at most), the
// Control Panel still takes Varnel for running.
constexpr std::wstring_view kStartAgain =
    L"The Varnel programs it had started close too. Check that all of Varnel's program files are in its folder, "
    L"then open the Varnel Control Panel and click \"Start Varnel\". If it answers that Varnel is already running, "
    L"wait a few seconds and click \"Start Varnel\" again.";

// Code 3: the texts are desktop numbers.
std::wstring DesktopFailed(const std::vector<std::wstring> &texts) {
    std::vector<std::wstring> desks;
    std::vector<std::wstring> others;
    for (const std::wstring &text : texts)
        (text.size() == 1 && text[0] >= L'1' && text[0] <= L'4' ? desks : others).push_back(text);
    const std::wstring which = desks.empty()      ? L"one of its desktops"
                               : desks.size() > 1 ? L"desktops " + Listed(desks)
                                                  : L"desktop " + desks[0];
    return L"Varnel could not set up " + which + L", so it has closed.\r\n" + std::wstring(kStartAgain) +
           DetailsLine(others);
}

// Code 5: the texts are hot keys that another program holds.
bool IsWinDigit(const std::wstring &key) {
    return key.size() == 7 && key.starts_with(L"WIN + ") && key[6] >= L'1' && key[6] <= L'9';
}

std::wstring KeysTaken(const std::vector<std::wstring> &keys) {
    const bool many = keys.size() > 1;
    const std::wstring what =
        keys.empty() ? L"One of Varnel's shortcut keys is already used by another program, so Varnel cannot use it."
        : many
            ? L"The shortcut keys " + Listed(keys) + L" are already used by other programs, so Varnel cannot use them."
            : L"The shortcut key " + keys[0] + L" is already used by another program, so Varnel cannot use it.";
    // Since Windows 7 the taskbar itself takes the Windows key with a digit.
    const std::wstring cause = std::any_of(keys.begin(), keys.end(), IsWinDigit)
                                   ? L" Windows itself uses the Windows key with the digits 1 to 9 for the programs "
                                     L"on the taskbar."
                                   : L"";
    return what + cause + L"\r\nOpen the Varnel Control Panel and choose " + (many ? L"other keys" : L"another key") +
           L" on the \"Shortcut keys\" page: beside each key it shows whether the key is free.";
}

// Code 6: the texts are hot keys the hub could not release.
std::wstring KeysKept(const std::vector<std::wstring> &keys) {
    const bool many = keys.size() > 1;
    const std::wstring what = keys.empty() ? L"Varnel could not let go of one of its shortcut keys."
                              : many       ? L"Varnel could not let go of the shortcut keys " + Listed(keys) + L"."
                                           : L"Varnel could not let go of the shortcut key " + keys[0] + L".";
    return what + L" Other programs cannot use " + (many ? L"them" : L"it") + L" until Varnel ends.\r\n" +
           std::wstring(kRestart);
}

// Code 7: the control panel could not write the settings.
std::wstring SettingsUnsaved(const std::vector<std::wstring> &texts) {
    return L"The Varnel Control Panel could not save your settings in the registry, so some of your changes may be "
           L"lost.\r\nOpen the Varnel Control Panel and save again. If that fails too, ask your administrator whether "
           L"you may change your settings." +
           DetailsLine(texts);
}

// Code 8: the texts are programs of the set that kept dying, which the hub no longer starts.
std::wstring ProgramsLeft(const std::vector<std::wstring> &programs) {
    const std::wstring which = programs.empty()      ? L"One of Varnel's programs"
                               : programs.size() > 1 ? L"Varnel's programs " + Listed(programs)
                                                     : L"Varnel's program " + programs[0];
    return which + L" stopped again and again, so Varnel no longer starts " + (programs.size() > 1 ? L"them" : L"it") +
           L".\r\n" + std::wstring(kRestart);
}

std::vector<std::wstring> Fields(const std::wstring &text) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t end; (end = text.find(static_cast<wchar_t>(FirstStartReportSeparator), start)) != text.npos;
         start = end + 1)
        fields.push_back(text.substr(start, end - start));
    fields.push_back(text.substr(start));
    return fields;
}

// One first start's keys: the modifiers, the keys of desktops 1 to 4 and of the previous desktop, then the usual
// keys Windows refused.
std::wstring KeysChosen(const std::wstring &text) {
    const std::vector<std::wstring> fields = Fields(text);
    if (fields.size() < 1 + HotKeyCount)
        return L"Windows did not give Varnel its usual shortcut keys, so Varnel has chosen other keys and keeps them.";
    const std::vector<std::wstring> refused(fields.begin() + 1 + HotKeyCount, fields.end());
    const bool many = refused.size() > 1;
    std::wstring why = L"Windows did not give Varnel its usual shortcut keys.";
    if (!refused.empty())
        why = L"Windows did not give Varnel its usual shortcut key" + std::wstring(many ? L"s " : L" ") +
              Listed(refused) +
              (std::any_of(refused.begin(), refused.end(), IsWinDigit)
                   ? L": Windows itself uses the Windows key with the digits 1 to 9 for the programs on the taskbar."
                   : std::wstring(L": another program uses ") + (many ? L"them." : L"it."));
    const auto key = [&](size_t id) { return fields[0] + L" + " + fields[id]; };
    return why + L" So Varnel has chosen other keys and keeps them:\r\n" + key(1) + L", " + key(2) + L", " + key(3) +
           L" and " + key(4) + L" go to desktops 1, 2, 3 and 4, and " + key(5) +
           L" goes back to the desktop you were on before.";
}

// Code 9, an information: a first start took other shortcut keys than the usual ones.
std::wstring FirstStartKeys(const std::vector<std::wstring> &texts) {
    std::wstring keys = texts.empty() ? KeysChosen(L"") : L"";
    for (const std::wstring &text : texts)
        keys += (keys.empty() ? L"" : L"\r\n\r\n") + KeysChosen(text);
    // Windows 10 and 11 put a new program's icon out of sight until the user turns it on, one program at a time.
    return keys +
           L"\r\nTo choose other keys, open the Varnel Control Panel and go to its \"Shortcut keys\" page.\r\n\r\n"
           L"Each desktop also has a Varnel icon in the notification area, beside the clock, but Windows hides new "
           L"icons at first. To keep them in view: on Windows 11, open Settings > Personalization > Taskbar > Other "
           L"system tray icons; on Windows 10, open Settings > Personalization > Taskbar and click \"Select which "
           L"icons appear on the taskbar\". There, turn on Tavik1, Tavik2, Tavik3 and Tavik4 (named \"Varnel "
           L"desktop 1 switcher\" and so on).";
}

// Code 10: the hub ended at once because it was started with administrator rights.
std::wstring StartedElevated(const std::vector<std::wstring> &texts) {
    return L"Varnel was started with administrator rights, so it has closed without starting: run that way, the "
           L"Varnel Control Panel could not reach it, and every program on desktops 2 to 4 would have administrator "
           L"rights too.\r\nStart Varnel as yourself: open the Varnel Control Panel from the Start menu, not with "
           L"\"Run as administrator\", and click \"Start Varnel\"." +
           DetailsLine(texts);
}

// Any other code, or none: say what came, and the general remedy.
std::wstring Unknown(const std::optional<int32_t> &code, const std::vector<std::wstring> &texts) {
    const std::wstring text = texts.empty() ? std::wstring() : texts[0];
    std::wstring what;
    if (code)
        what =
            L"Varnel reported a problem with the code " + std::to_wstring(*code) + (text.empty() ? L"." : L": " + text);
    else
        what = text.empty() ? L"Varnel reported a problem but gave no details." : L"Varnel reported a problem: " + text;
    return what + L"\r\nIf Varnel does not work as it should: " + std::wstring(kRestart);
}

std::wstring Paragraph(const Group &group) {
    switch (group.known ? *group.code : 0) {
        case 1:
            return HubUnreachable(group.texts);
        case 2:
            return EventsFailed(group.texts);
        case 3:
            return DesktopFailed(group.texts);
        case 5:
            return KeysTaken(group.texts);
        case 6:
            return KeysKept(group.texts);
        case 7:
            return SettingsUnsaved(group.texts);
        case 8:
            return ProgramsLeft(group.texts);
        case kFirstStartKeys:
            return FirstStartKeys(group.texts);
        case 10:
            return StartedElevated(group.texts);
        default:
            return Unknown(group.code, group.texts);
    }
}

bool IsKnown(const std::optional<int32_t> &code) {
    return code && *code >= 1 && *code <= 10 && *code != 4;
}

}  // namespace

std::wstring_view ArgumentsOf(std::wstring_view commandLine, std::wstring_view ownPath) {
    std::wstring_view line = commandLine;
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    if (!line.empty() && line.front() == L'"') {
        const size_t close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? std::wstring_view() : line.substr(close + 1);
    }
    // An unquoted path may hold blanks ("C:\Program Files\..."): our own full path is recognised whole.
    if (!ownPath.empty() && StartsWithNoCase(line, ownPath) &&
        (line.size() == ownPath.size() || IsBlank(line[ownPath.size()])))
        return line.substr(ownPath.size());
    const size_t blank = line.find_first_of(L" \t");
    return blank == std::wstring_view::npos ? std::wstring_view() : line.substr(blank);
}

Report ParseReport(std::wstring_view arguments) {
    const std::wstring_view line = Trimmed(arguments);
    size_t digits = 0;
    int64_t value = 0;
    while (digits < line.size() && line[digits] >= L'0' && line[digits] <= L'9' && value <= INT32_MAX)
        value = value * 10 + (line[digits++] - L'0');
    const bool ends = digits == line.size() || IsBlank(line[digits]);
    if (digits == 0 || !ends || value > INT32_MAX)
        return {std::nullopt, Cleaned(line)};
    return {static_cast<int32_t>(value), Cleaned(line.substr(digits))};
}

bool ReportList::Add(Report report) {
    if (std::find(m_reports.begin(), m_reports.end(), report) != m_reports.end())
        return false;
    if (m_reports.size() >= MaxReports) {
        m_overflow = true;
        return false;
    }
    m_reports.push_back(std::move(report));
    return true;
}

std::wstring ReportList::Message(std::wstring_view logPath) const {
    // One group per known code, listing its texts; every other report stands alone.
    std::vector<Group> groups;
    for (const Report &report : m_reports) {
        const bool known = IsKnown(report.code);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group &g) { return known && g.known && g.code == report.code; });
        if (group == groups.end()) {
            groups.push_back({report.code, {}, known});
            group = groups.end() - 1;
        }
        if (!report.text.empty() &&
            std::find(group->texts.begin(), group->texts.end(), report.text) == group->texts.end())
            group->texts.push_back(report.text);
    }
    std::wstring message;
    for (const Group &group : groups)
        message += (message.empty() ? L"" : L"\r\n\r\n") + Paragraph(group);
    if (m_overflow)
        message += L"\r\n\r\nFurther problems were reported as well.";
    const bool problems = std::any_of(groups.begin(), groups.end(),
                                      [](const Group &g) { return !g.known || *g.code != kFirstStartKeys; });
    if (!logPath.empty() && problems)
        message += L"\r\n\r\nVarnel writes the details of every problem to the file " + std::wstring(logPath) + L".";
    return message;
}
