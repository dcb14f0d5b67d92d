// Drives the real VarnelControlPanel.exe from a test: a throwaway program folder with stand-ins for the hub and
// the error reporter, the window and its controls found by id, and the settings store of the test prefix.
#pragma once
#include "DebugMonitor.h"
#include "Handles.h"
#include "TestSupport.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// HKEY_CURRENT_USER\Software\Varnel and the Run value "Varnel", removed before and after each test; the Run
// key is left writable however a test leaves it.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    SettingsSandbox(const SettingsSandbox &) = delete;
    SettingsSandbox &operator=(const SettingsSandbox &) = delete;

private:
    static void Clear();
};

// Raw registry access for the tests, as another program or a damaged profile would leave values.
void WriteRaw(const char *key, const char *name, DWORD type, const void *data, DWORD size);
void WriteDword(const char *key, const char *name, DWORD value);
void WriteString(const char *key, const char *name, const std::string &text, DWORD type = REG_SZ);
void CreateSettingsKey();
struct StoredValue {
    DWORD type = 0;
    std::string bytes;
    DWORD Number() const;
    std::string Text() const;  // without the final NUL
};
std::optional<StoredValue> ReadStored(const char *key, const char *name);
// Lets everyone read a key but nobody write values into it (a locked-down profile).
void DenyWrites(const char *key);

inline constexpr const char *SettingsKeyPath = "Software\\Varnel";
inline constexpr const char *RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The panel started from `folder`, which also receives recorder.exe as varnelerror.exe and, unless the test
// put the real hub there, as Varnel.exe.
class PanelProcess {
public:
    enum class Hub { StandIn, AsFound };
    explicit PanelProcess(const TempFolder &folder, Hub hub = Hub::StandIn);
    ~PanelProcess();
    PanelProcess(const PanelProcess &) = delete;
    PanelProcess &operator=(const PanelProcess &) = delete;

    bool Started() const { return m_form != nullptr; }
    DWORD Id() const { return m_id; }
    HWND Form() const { return m_form; }
    HWND Control(int id) const;
    std::string Text(int id) const;
    bool Checked(int id) const;
    void SetChecked(int id, bool ticked) const;
    void SetText(int id, const std::string &text) const;
    // Posted, so that a modal dialog or message box it opens does not block the test.
    void Click(int id) const;
    void PressTab(int x) const;
    bool Visible(int id) const;
    // The panel's top-level window of `windowClass` (nullptr: any) titled `title`, once it appears.
    HWND WaitForWindow(const char *windowClass, const std::string &title, DWORD timeoutMs = 10000) const;
    bool WaitForExit(DWORD timeoutMs = 10000) const;
    // Save and wait for the program to end.
    bool SaveAndExit() const;

private:
    KernelHandle m_process;
    DWORD m_id = 0;
    HWND m_form = nullptr;
};

std::string WindowTextOf(HWND window);
// The text of a message box: its static controls' texts.
std::string MessageBoxText(HWND box);
// The x of every tab's left edge in the panel's strip, from the captions' widths in its font, and last the x
// where the last tab's span ends.
std::vector<int> PanelTabLefts();
// The panel's own trace lines (its event sets), in order.
std::vector<std::string> PanelTrace(const DebugMonitor &monitor, DWORD processId);
