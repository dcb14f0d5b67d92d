// Drives the real VarnelControlPanel.exe from a test: a throwaway program folder with stand-ins (recorder.exe)
// for the hub and the error reporter, the controls found by id, and the settings store of the test prefix.
#pragma once
#include "AnsiText.h"
#include "DebugMonitor.h"
#include "Handles.h"
#include "TestSupport.h"

#include <windows.h>

#include <optional>
#include <string>

inline constexpr const char *SettingsKeyPath = "Software\\Varnel";
inline constexpr const char *RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Removes the settings key and the Run value "Varnel", before and after each test.
void ClearSettings();

// Raw registry values, as another program or a damaged profile would leave them.
void WriteDword(const char *key, const char *name, DWORD value);
void WriteString(const char *key, const char *name, const std::string &text, DWORD type = REG_SZ);
// Stands in for a running hub that makes known which of its ids Windows gave it (bit id - 1).
void WriteHeldHotKeys(DWORD mask);
// The log-on Run value "Varnel" (REG_SZ), if there is one.
std::optional<std::string> RunValue();
// A value of the settings key as text, numbers in decimal ("" when there is none).
std::string Saved(const char *name);

class PanelProcess {
public:
    explicit PanelProcess(const TempFolder &folder);
    ~PanelProcess();
    bool Started() const { return m_form != nullptr; }
    DWORD Id() const { return m_id; }
    HWND Form() const { return m_form; }
    HWND Control(int id) const;
    std::string Text(int id) const { return ToAnsi(WideWindowText(Control(id))); }
    bool Checked(int id) const { return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(int id, bool on) const { ::SendMessageA(Control(id), BM_SETCHECK, on ? BST_CHECKED : 0, 0); }
    void SetText(int id, const char *text) const { ::SendMessageA(Control(id), WM_SETTEXT, 0, (LPARAM)text); }
    // Posted, so that a modal dialog or message box it opens does not block the test.
    void Click(int id) const { ::PostMessageA(Control(id), BM_CLICK, 0, 0); }
    // A mouse press on the tab strip, `x` pixels from its left.
    void PressTabStrip(int x) const;
    // The page whose frame alone shows; negative while none or several do.
    int ShownPage() const;
    bool ShowsPage(int page) const {
        return WaitFor([&] { return ShownPage() == page; });
    }
    // The panel's visible top-level window of `windowClass` titled `title`, once it appears.
    HWND WaitForWindow(const char *windowClass, const char *title) const;
    bool WaitForExit(DWORD timeoutMs = 10000) const {
        return m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
    }

private:
    KernelHandle m_process;
    DWORD m_id = 0;
    HWND m_form = nullptr;
};
