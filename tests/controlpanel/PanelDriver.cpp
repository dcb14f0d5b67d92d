#include "PanelDriver.h"

#include "AnsiText.h"
#include "ControlIds.h"
#include "Fonts.h"
#include "PanelRules.h"

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

namespace {

struct Search {
    DWORD processId;
    const char *windowClass;
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<Search *>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    char title[256] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if ((search->windowClass == nullptr || std::string(className) == search->windowClass) && title == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<ChildSearch *>(context);
    if (::GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM context) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    const std::string text = WindowTextOf(window);
    if (_stricmp(className, "Static") == 0 && !text.empty())
        *reinterpret_cast<std::string *>(context) += text;
    return TRUE;
}

void SetDacl(const char *key, const char *sddl) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, WRITE_DAC, &opened) != ERROR_SUCCESS)
        return;
    RegKey owned(opened);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
        ::RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor);
        ::LocalFree(descriptor);
    }
}

constexpr const char *kEveryoneMayDoAll = "D:(A;;KA;;;WD)";
constexpr const char *kNobodyMayWrite = "D:(D;;0x6;;;WD)(A;;KA;;;WD)";  // deny KEY_SET_VALUE, KEY_CREATE_SUB_KEY

}  // namespace

SettingsSandbox::SettingsSandbox() {
    Clear();
}

SettingsSandbox::~SettingsSandbox() {
    Clear();
}

void SettingsSandbox::Clear() {
    SetDacl(RunKeyPath, kEveryoneMayDoAll);
    HKEY run = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr);
    RegKey owned(run);
    ::RegDeleteValueA(run, "Varnel");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath);
}

void WriteRaw(const char *key, const char *name, DWORD type, const void *data, DWORD size) {
    HKEY opened = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegKey owned(opened);
    ASSERT_EQ(::RegSetValueExA(opened, name, 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
}

void WriteDword(const char *key, const char *name, DWORD value) {
    WriteRaw(key, name, REG_DWORD, &value, sizeof value);
}

void WriteString(const char *key, const char *name, const std::string &text, DWORD type) {
    WriteRaw(key, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void CreateSettingsKey() {
    HKEY opened = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                                nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(opened);
}

DWORD StoredValue::Number() const {
    DWORD number = 0;
    ::memcpy(&number, bytes.data(), std::min(bytes.size(), sizeof number));
    return number;
}

std::string StoredValue::Text() const {
    return !bytes.empty() && bytes.back() == '\0' ? bytes.substr(0, bytes.size() - 1) : bytes;
}

std::optional<StoredValue> ReadStored(const char *key, const char *name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    RegKey owned(opened);
    StoredValue value;
    DWORD size = 0;
    if (::RegQueryValueExA(opened, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (size > 0 && ::RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value.bytes.data()),
                                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void DenyWrites(const char *key) {
    SetDacl(key, kNobodyMayWrite);
}

PanelProcess::PanelProcess(const TempFolder &folder, Hub hub) {
    const std::wstring recorder = TestBinDir() + L"\\recorder.exe";
    const bool copied = folder.Add(ProgramFolder() + L"\\VarnelControlPanel.exe", L"VarnelControlPanel.exe") &&
                        folder.Add(ProgramFolder() + L"\\VarnelGuide.html", L"VarnelGuide.html") &&
                        (hub == Hub::AsFound || folder.Add(recorder, L"Varnel.exe")) &&
                        folder.Add(recorder, L"varnelerror.exe");
    EXPECT_TRUE(copied) << "the program folder lacks the panel or its guide";
    const std::wstring program = folder.File(L"VarnelControlPanel.exe");
    m_process = StartProcess(program, L"\"" + program + L"\"");
    if (!m_process)
        return;
    m_id = ::GetProcessId(m_process.Get());
    m_form = WaitForWindow("ControlPanel.FormMain", std::string(FormCaption));
    EXPECT_NE(m_form, nullptr) << "the settings window did not appear";
}

PanelProcess::~PanelProcess() {
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
        ::PostMessageA(m_form, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.Get(), 1);
    }
}

HWND PanelProcess::Control(int id) const {
    ChildSearch search{id};
    ::EnumChildWindows(m_form, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string PanelProcess::Text(int id) const {
    return WindowTextOf(Control(id));
}

bool PanelProcess::Checked(int id) const {
    return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PanelProcess::SetChecked(int id, bool ticked) const {
    ::SendMessageA(Control(id), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void PanelProcess::SetText(int id, const std::string &text) const {
    ::SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PanelProcess::Click(int id) const {
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
}

void PanelProcess::PressTab(int x) const {
    // Sent, so the press has been handled when this returns.
    const HWND tab = Control(ControlId::Tab1);
    ::SendMessageTimeoutA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 12), SMTO_ABORTIFHUNG, 5000, nullptr);
    ::SendMessageTimeoutA(tab, WM_LBUTTONUP, 0, MAKELPARAM(x, 12), SMTO_ABORTIFHUNG, 5000, nullptr);
}

bool PanelProcess::Visible(int id) const {
    return ::IsWindowVisible(Control(id)) != FALSE;
}

HWND PanelProcess::WaitForWindow(const char *windowClass, const std::string &title, DWORD timeoutMs) const {
    Search search{m_id, windowClass, title};
    WaitFor(
        [&] {
            ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

bool PanelProcess::WaitForExit(DWORD timeoutMs) const {
    return m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool PanelProcess::SaveAndExit() const {
    Click(ControlId::SaveExit);
    return WaitForExit();
}

std::string WindowTextOf(HWND window) {
    char text[1024] = {};
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    return text;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::vector<int> PanelTabLefts() {
    const GdiObject<HFONT> font = PointFont("Verdana", 825, true, BaseDpi);
    WindowDC screen(nullptr);
    SelectedObject selected(screen.Get(), font.Get());
    std::vector<int> lefts;
    int x = 10;  // the strip's side spacing
    for (const char *caption : {"General", "Shortcut keys", "Custom desktop names"}) {
        lefts.push_back(x);
        SIZE size = {};
        ::GetTextExtentPoint32A(screen.Get(), caption, static_cast<int>(::strlen(caption)), &size);
        x += size.cx + 4 * 10 + 18;
    }
    lefts.push_back(x);  // the last tab's span ends where a fourth tab would begin
    return lefts;
}

std::vector<std::string> PanelTrace(const DebugMonitor &monitor, DWORD processId) {
    std::vector<std::string> lines;
    for (const DebugMonitor::Line &line : monitor.Lines())
        if (line.processId == processId && line.text.rfind("ControlPanel: ", 0) == 0)
            lines.push_back(line.text);
    return lines;
}
