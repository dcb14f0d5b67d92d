// FormMain: the "Varnel Control Panel" window. Three pages under the Tab strip (General, Shortcut keys, Custom
// desktop names), the save that writes the settings and asks the hub and the switchers to re-read them, the
// Start and Shutdown commands, and the rows whose keys the recording dialog sets.
#pragma once
#include "Handles.h"
#include "core/Dpi.h"
#include "Panel.h"
#include "PanelRules.h"
#include "Tab.h"
#include "Window.h"

#include <array>
#include <string>
#include <vector>

class FormMain : public Window {
public:
    // The window and its controls, hidden.
    bool Create();
    void Form_Load();
    void SetKey(int16_t keyNumber, int16_t keyCode);
    // The keyboard focus on the first control of the page shown.
    void FocusPage();
    // The name of the desktop that receives input; empty when it cannot be opened.
    std::wstring GetDesktopName() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Line {
        int x1, y1, x2, y2;
        int colorIndex;
    };
    enum class FontRole { None, Normal, Bold, Button };
    // A control and its place at 96 DPI, laid out anew for every DPI the window meets.
    struct Placed {
        HWND window;
        DpiRect rect;
        FontRole font;
    };

    void CreateControls();
    HWND AddControl(HWND parent, const wchar_t *windowClass, const char *text, DWORD style, int id, DpiRect rect,
                    FontRole font, DWORD exStyle = 0);
    void Keep(HWND window, DpiRect rect, FontRole font = FontRole::None);
    // Fonts, places and the window's size at `dpi`.
    void ApplyDpi(int32_t dpi);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    HFONT FontOf(FontRole role) const;
    void OnCommand(int id, int code);
    void OnEnter();
    void OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    void OnActivate(WORD state);
    void RestoreFocus();
    void StepPage(int16_t step);
    // Beside each hot-key row: whether its combination is free, Varnel's, another row's, Windows' or another
    // program's.
    void ShowHotKeyStatus();
    // A trial registration of id 1..5 as the hub makes it (without auto-repeat), held until ReleaseTrials.
    bool HoldTrial(int32_t id, int32_t modifiers, uint16_t key);
    void ReleaseTrials();
    bool RegistersWhole(const HotKeySet &set);
    // Windows left open on desktops 2 to 4 are out of reach once the set has ended: the user may keep it.
    bool WindowsLeftConfirmed();
    void OnPaint(HDC dc);
    void Paint();

    void Tab1_Click();
    void SaveExit_Click();
    void NoSaveExit_Click();
    void guideurl_Click();
    void Form_Unload();
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdRecordKey1_Click(int index);

    void ReadSettings();
    void FillControls();
    void CollectControls();
    bool Ticked(HWND box) const;
    void SetTicked(HWND box, bool ticked);
    bool DesktopOneCheck();
    bool RunSaveStep(const SaveStep &step);
    Panel *PageFrame(int16_t page);

    PanelSettings m_settings;
    PanelSettings m_stored;  // as shown at load: what a running hub registered
    int16_t m_currentPage = 0;
    int32_t m_dpi = BaseDpi;
    std::vector<Placed> m_placed;
    HWND m_lastFocus = nullptr;

    Tab Tab1;
    Panel FrameGeneral;
    Panel FrameShortcutKeys;
    Panel FrameDeskNames;
    Panel Picture1;
    HWND CheckAutoStart = nullptr;
    HWND CheckTransparency = nullptr;
    HWND CheckWin = nullptr;
    HWND CheckCtrl = nullptr;
    HWND CheckAlt = nullptr;
    HWND CheckShift = nullptr;
    std::array<HWND, 5> LabelRecord = {};
    std::array<HWND, 4> TextDeskName = {};
    Line Line1 = {0, 256, 512, 256, COLOR_WINDOWTEXT};
    Line Line2 = {0, 256, 520, 256, COLOR_BTNSHADOW};

    std::array<HWND, 5> LabelStatus = {};
    GdiObject<HFONT> m_font;        // Tahoma 9 pt
    GdiObject<HFONT> m_boldFont;    // Tahoma 9 pt bold
    GdiObject<HFONT> m_buttonFont;  // Tahoma 8.25 pt
};
