// The reporter's one window: title "Varnel", a warning sign, the words for every report it has received, and OK.
// Reports from later starts of the reporter arrive as WM_COPYDATA and join the words.
#pragma once
#include "Handles.h"
#include "Window.h"
#include "core/ReportText.h"

#include <string>

inline constexpr const char *ReporterClassName = "VarnelErrorReporter";
inline constexpr ULONG_PTR ReportHandOffId = 0x56455252;  // a report's command-line arguments, as UTF-16
inline constexpr int ReportTextId = 100;

class ReporterWindow : public Window {
public:
    bool Create(Report first);
    // Shows the window restored and in front, whatever show mode the starter asked for.
    void Present(int showCommand);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCreate();
    // The message font at `dpi` for the text and the button.
    void UseDpi(int32_t dpi);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT *block);
    LRESULT OnCommand(WPARAM wParam);
    LRESULT OnDestroy();
    void ShowReports();

    ReportList m_reports;
    std::wstring m_logPath;
    GdiObject<HFONT> m_font;
    int32_t m_dpi = 96;
    HWND m_icon = nullptr;
    HWND m_text = nullptr;
    HWND m_button = nullptr;
    bool m_placed = false;
};
