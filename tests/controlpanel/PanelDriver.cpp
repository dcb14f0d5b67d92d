#include "PanelDriver.h"

#include "ControlIds.h"
#include "PanelRules.h"

#include <gtest/gtest.h>

static BOOL CALLBACK MatchId(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<std::pair<int, HWND> *>(context);
    search->second = ::GetDlgCtrlID(window) == search->first ? window : nullptr;
    return search->second == nullptr;
}

void ClearSettings() {
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKeyPath, "Varnel");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath);
}

void WriteDword(const char *key, const char *name, DWORD value) {
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
}

void WriteString(const char *key, const char *name, const std::string &text, DWORD type) {
    const auto size = static_cast<DWORD>(text.size() + 1);
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, text.c_str(), size), ERROR_SUCCESS);
}

void WriteHeldHotKeys(DWORD mask) {
    // Volatile, as the hub keeps it: gone at log-off even if the hub was not there to delete it.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, HubStateKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const RegKey owned(key);
    ASSERT_EQ(::RegSetValueExA(key, HeldHotKeysValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&mask), sizeof mask),
              ERROR_SUCCESS);
}

std::optional<std::string> RunValue() {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_CURRENT_USER, RunKeyPath, "Varnel", RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

std::string Saved(const char *name) {
    char text[1024] = {};
    DWORD number = 0, size = sizeof text;
    if (::RegGetValueA(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS)
        return text;
    size = sizeof number;
    if (::RegGetValueA(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_REG_DWORD, nullptr, &number, &size) ==
        ERROR_SUCCESS)
        return std::to_string(number);
    return "";
}

PanelProcess::PanelProcess(const TempFolder &folder) {
    const std::wstring recorder = TestBinDir() + L"\\recorder.exe";
    EXPECT_TRUE(folder.Add(ProgramFolder() + L"\\VarnelControlPanel.exe", L"VarnelControlPanel.exe") &&
                folder.Add(recorder, L"Varnel.exe") && folder.Add(recorder, L"varnelerror.exe"));
    const std::wstring program = folder.File(L"VarnelControlPanel.exe");
    m_process = StartProcess(program, L"\"" + program + L"\"");
    m_id = m_process ? ::GetProcessId(m_process.Get()) : 0;
    m_form = m_process ? WaitForWindow("ControlPanel.FormMain", std::string(FormCaption).c_str()) : nullptr;
    EXPECT_NE(m_form, nullptr) << "the settings window did not appear";
    ::SetForegroundWindow(m_form);
}

PanelProcess::~PanelProcess() {
    if (m_process && !WaitForExit(0)) {  // what a test leaves open needs no orderly end
        ::TerminateProcess(m_process.Get(), 1);
        WaitForExit();
    }
}

HWND PanelProcess::Control(int id) const {
    std::pair<int, HWND> search{id, nullptr};
    ::EnumChildWindows(m_form, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void PanelProcess::PressTabStrip(int x) const {
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        ::SendMessageTimeoutA(::GetDlgItem(m_form, ControlId::Tab1), message, MK_LBUTTON, MAKELPARAM(x, 12),
                              SMTO_ABORTIFHUNG, 5000, nullptr);
}

int PanelProcess::ShownPage() const {
    int shown = -1;
    for (int page = 0; page < 3; ++page)
        if (::IsWindowVisible(::GetDlgItem(m_form, ControlId::FrameGeneral + page)))
            shown = shown == -1 ? page : -2;
    return shown;
}

HWND PanelProcess::WaitForWindow(const char *windowClass, const char *title) const {
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, windowClass, title)) != nullptr;) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            found = owner == m_id && ::IsWindowVisible(window) ? window : found;
        }
        return found != nullptr;
    });
    return found;
}
