#include "PanelDriver.h"

#include "ControlIds.h"
#include "Fonts.h"
#include "PanelRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

BOOL CALLBACK MatchId(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<std::pair<int, HWND> *>(context);
    search->second = ::GetDlgCtrlID(window) == search->first ? window : nullptr;
    return search->second == nullptr;
}

}  // namespace

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

DWORD StoredValue::Number() const {
    DWORD number = 0;
    std::memcpy(&number, bytes.data(), std::min(bytes.size(), sizeof number));
    return number;
}

std::optional<StoredValue> ReadStored(const char *key, const char *name) {
    StoredValue value;
    DWORD size = 0;
    constexpr DWORD kAny = RRF_RT_ANY | RRF_NOEXPAND;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, name, kAny, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    ::RegGetValueA(HKEY_CURRENT_USER, key, name, kAny, nullptr, value.bytes.data(), &size);
    return value;
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
}

PanelProcess::~PanelProcess() {
    if (m_process && !WaitForExit(0)) {
        ::PostMessageA(m_form, WM_CLOSE, 0, 0);
        if (!WaitForExit(5000))
            ::TerminateProcess(m_process.Get(), 1);
    }
}

HWND PanelProcess::Control(int id) const {
    std::pair<int, HWND> search{id, nullptr};
    ::EnumChildWindows(m_form, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string PanelProcess::Text(int id) const {
    return WindowTextOf(Control(id));
}

void PanelProcess::PressTab(int tab) const {
    const GdiObject<HFONT> font = PointFont("Verdana", 825, true, BaseDpi);
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font.Get());
    int x = 10;  // the strip's side spacing; each tab advances by its caption + 4 spacings + 18
    for (const char *caption : {"General", "Shortcut keys"}) {
        SIZE size = {};
        ::GetTextExtentPoint32A(screen.Get(), caption, static_cast<int>(std::strlen(caption)), &size);
        x += tab-- > 0 ? size.cx + 4 * 10 + 18 : 0;
    }
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        ::SendMessageTimeoutA(Control(ControlId::Tab1), message, MK_LBUTTON, MAKELPARAM(x + 1, 12), SMTO_ABORTIFHUNG,
                              5000, nullptr);
}

bool PanelProcess::ShowsPage(int page) const {
    const int frames[] = {ControlId::FrameGeneral, ControlId::FrameShortcutKeys, ControlId::FrameDeskNames};
    return WaitFor([&] {
        for (int shown = 0; shown < 3; ++shown)
            if ((::IsWindowVisible(Control(frames[shown])) != FALSE) != (shown == page))
                return false;
        return true;
    });
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
