#include "FormMain.h"

#include "AnsiText.h"
#include "ControlIds.h"
#include "Dialog.h"
#include "Fonts.h"
#include "KeyText.h"
#include "LeftWindows.h"
#include "Log.h"
#include "OtherDesktops.h"
#include "Registry.h"
#include "Dpi.h"
#include "core/EventNames.h"

#include <shellapi.h>

#include <algorithm>

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 495;
constexpr int kClientHeight = 343;
constexpr int kReportCode = 7;
constexpr int kProbeHotKeyId = 0x100;  // ids of the panel's own trial registrations, one per row
const HKEY kRoot = HKEY_CURRENT_USER;

std::optional<int32_t> ReadNumber(const char *name) {
    Registry::Value value;
    if (!Registry::QueryValue(kRoot, Registry::SettingsKey, name, RegTypeDword, value))
        return std::nullopt;
    return std::get<int32_t>(value);
}

std::optional<std::string> ReadText(const char *key, const std::string &name) {
    Registry::Value value;
    if (!Registry::QueryValue(kRoot, key, name, RegTypeSz, value))
        return std::nullopt;
    return std::get<std::string>(value);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool EventExists(int16_t index) {
    return KernelHandle(::OpenEventA(SYNCHRONIZE, FALSE, EventName(index).c_str())).Get() != nullptr;
}

// The hub creates the events and holds them until it ends.
bool HubRuns() {
    return EventExists(ReReadEvents[0]);
}

// Which of its ids Windows gave the running hub (bit id - 1); none when it has not said.
uint32_t HeldHotKeys() {
    Registry::Value value;
    if (!Registry::QueryValue(kRoot, HubStateKey, HeldHotKeysValue, RegTypeDword, value))
        return 0;
    return static_cast<uint32_t>(std::get<int32_t>(value));
}

bool AnyEventExists(const std::array<int16_t, 5> &indices) {
    return std::any_of(indices.begin(), indices.end(), EventExists);
}

// Opens each existing event of `indices` in turn, sets it and closes it again; a missing one is skipped.
void SetEvents(const std::array<int16_t, 5> &indices) {
    for (const int16_t index : indices) {
        const std::string name = EventName(index);
        KernelHandle event(::OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
        if (!event)
            continue;
        ::SetEvent(event.Get());
        Trace("ControlPanel: set " + name);
    }
}

}  // namespace

bool FormMain::Create() {
    const std::string caption(FormCaption);
    if (!CreateBound("ControlPanel.FormMain", 0, caption.c_str(), kStyle, 0, 0, 0, 0, nullptr))
        return false;
    // The window destroys its menu with it.
    const HMENU help = ::CreatePopupMenu();
    ::AppendMenuA(help, MF_STRING, ControlId::guideurl, "&Online user's guide");
    const HMENU bar = ::CreateMenu();
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    ::SetMenu(Hwnd(), bar);
    CreateControls();
    ApplyDpi(WindowDpi(Hwnd()));
    // Centred on its screen at the size of its DPI.
    RECT frame = {};
    ::GetWindowRect(Hwnd(), &frame);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(Hwnd(), nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

HWND FormMain::AddControl(HWND parent, const wchar_t *windowClass, const char *text, DWORD style, int id,
                          DpiRect rect, FontRole font, DWORD exStyle) {
    // Unicode controls: a name box takes every character typed, whatever the code page.
    const std::wstring wide = ToWide(text);
    const HWND control = ::CreateWindowExW(exStyle, windowClass, wide.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleW(nullptr), nullptr);
    Keep(control, rect, font);
    return control;
}

void FormMain::Keep(HWND window, DpiRect rect, FontRole font) {
    m_placed.push_back({window, rect, font});
}

HFONT FormMain::FontOf(FontRole role) const {
    switch (role) {
    case FontRole::Normal: return m_font.Get();
    case FontRole::Bold: return m_boldFont.Get();
    case FontRole::Button: return m_buttonFont.Get();
    case FontRole::None: break;
    }
    return nullptr;
}

void FormMain::CreateControls() {
    constexpr DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
    constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    constexpr auto normal = FontRole::Normal;

    Tab1.Create(Hwnd(), ControlId::Tab1, 0, 0, 0, 0);
    Keep(Tab1.Hwnd(), {0, 0, 497, 25});
    Tab1.Click = [this] { Tab1_Click(); };

    // Page 0, General.
    constexpr DpiRect page = {8, 32, 481, 217};
    FrameGeneral.Create(Hwnd(), ControlId::FrameGeneral, 0, 0, 0, 0, true);
    Keep(FrameGeneral.Hwnd(), page);
    const HWND general = FrameGeneral.Hwnd();
    CheckAutoStart = AddControl(general, L"BUTTON", "&Automatically start Varnel when you log on to Windows", check,
                                ControlId::CheckAutoStart, {72, 32, 377, 25}, normal);
    CheckTransparency = AddControl(general, L"BUTTON", "Set Varnel windows to semi-&transparent", check,
                                   ControlId::CheckTransparency, {72, 72, 281, 25}, normal);
    Picture1.Create(general, ControlId::Picture1, 0, 0, 0, 0, true);
    Keep(Picture1.Hwnd(), {40, 136, 409, 57});
    AddControl(Picture1.Hwnd(), L"BUTTON", "Start &Varnel", button, ControlId::cmdStart, {24, 16, 169, 25}, normal);
    AddControl(Picture1.Hwnd(), L"BUTTON", "Shut&down Varnel", button, ControlId::cmdStop, {216, 16, 169, 25},
               normal);

    // Page 1, Shortcut keys, on the same place. The modifier boxes sit beside their group box rather than in it,
    // so that their clicks reach the page (a group box keeps its children's notifications).
    FrameShortcutKeys.Create(Hwnd(), ControlId::FrameShortcutKeys, 0, 0, 0, 0, false);
    Keep(FrameShortcutKeys.Hwnd(), page);
    const HWND keys = FrameShortcutKeys.Hwnd();
    AddControl(keys, L"BUTTON", "Common", BS_GROUPBOX, ControlId::Frame1, {16, 16, 449, 49}, normal);
    CheckWin = AddControl(keys, L"BUTTON", "&WIN key", check, ControlId::CheckWin, {64, 40, 89, 17}, normal);
    CheckCtrl = AddControl(keys, L"BUTTON", "&CTRL key", check, ControlId::CheckCtrl, {160, 40, 89, 17}, normal);
    CheckAlt = AddControl(keys, L"BUTTON", "A&LT key", check, ControlId::CheckAlt, {256, 40, 89, 17}, normal);
    CheckShift = AddControl(keys, L"BUTTON", "S&HIFT key", check, ControlId::CheckShift, {352, 40, 89, 17}, normal);
    // Each caption's access key reaches its row's "Record key" button, the next stop after it.
    const char *rowCaptions[] = {"Switch to Desktop &1:", "Switch to Desktop &2:", "Switch to Desktop &3:",
                                 "Switch to Desktop &4:", "Switch to &previous Desktop:"};
    for (int row = 0; row < 5; ++row) {
        const int top = 88 + 24 * row;
        const bool previous = row == 4;
        AddControl(keys, L"STATIC", rowCaptions[row], SS_RIGHT, ControlId::Label1 + row,
                   {previous ? 8 : 48, top, previous ? 169 : 129, 17}, normal);
        LabelRecord[static_cast<size_t>(row)] = AddControl(keys, L"STATIC", "", SS_LEFT | SS_NOPREFIX,
                                                           ControlId::LabelRecord + row, {184, top, 65, 17},
                                                           FontRole::Bold);
        AddControl(keys, L"BUTTON", "Record key", button, ControlId::cmdRecordKey1 + row, {256, top, 73, 17},
                   FontRole::Button);
        LabelStatus[static_cast<size_t>(row)] = AddControl(keys, L"STATIC", "", SS_LEFT | SS_NOPREFIX,
                                                           ControlId::LabelStatus + row, {336, top, 141, 17}, normal);
    }

    // Page 2, Custom desktop names, on the same place.
    FrameDeskNames.Create(Hwnd(), ControlId::FrameDeskNames, 0, 0, 0, 0, false);
    Keep(FrameDeskNames.Hwnd(), page);
    const HWND names = FrameDeskNames.Hwnd();
    const char *nameCaptions[] = {"Desktop &1 name:", "Desktop &2 name:", "Desktop &3 name:", "Desktop &4 name:"};
    for (int desk = 0; desk < 4; ++desk) {
        const int top = 40 + 32 * desk;
        AddControl(names, L"STATIC", nameCaptions[desk], SS_RIGHT, ControlId::LabelDeskName + desk, {96, top, 113, 17},
                   normal);
        const HWND box = AddControl(names, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, ControlId::TextDeskName + desk,
                                    {216, top, 161, 21}, normal, WS_EX_CLIENTEDGE);
        ::SendMessageW(box, EM_LIMITTEXT, DeskNameMaxLength, 0);
        TextDeskName[static_cast<size_t>(desk)] = box;
    }

    AddControl(Hwnd(), L"BUTTON", "&Save changes and exit", button, ControlId::SaveExit, {136, 280, 161, 25}, normal);
    AddControl(Hwnd(), L"BUTTON", "E&xit without saving changes", button, ControlId::NoSaveExit, {304, 280, 177, 25},
               normal);
}

void FormMain::ApplyDpi(int32_t dpi) {
    m_dpi = dpi;
    m_font = PointFont("Tahoma", 900, false, dpi);
    m_boldFont = PointFont("Tahoma", 900, true, dpi);
    m_buttonFont = PointFont("Tahoma", 825, false, dpi);
    for (const Placed &placed : m_placed) {
        const DpiRect rect = ScaleForDpi(placed.rect, dpi);
        ::SetWindowPos(placed.window, nullptr, rect.left, rect.top, rect.width, rect.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (placed.font != FontRole::None)
            ::SendMessageW(placed.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(placed.font)), TRUE);
    }
    // The look stored for this instance, its spacings at this DPI; the rest keeps the strip's own values.
    TabLook look;
    look.BackColor = 0x8000000B;
    look.ForeColor = 0x80000007;
    look.BorderColor = 0x404040;
    look.BorderShadowColor = 0x8000000F;
    look.BorderShadowColorSelected = 0x80000010;
    look.SpacingTop = 0;
    look.SpacingDown = static_cast<int16_t>(ScaleForDpi(3, dpi));
    look.SpacingSides = static_cast<int16_t>(ScaleForDpi(10, dpi));
    Tab1.SetLook(look);
    Tab1.SetFont(PointLogFont("Verdana", 825, true, dpi));
    const RECT frame = WindowRectForClient({0, 0, ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi)},
                                           kStyle, true, 0, dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void FormMain::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    ApplyDpi(HIWORD(wParam));
    MoveToSuggested(Hwnd(), lParam);
}

void FormMain::Form_Load() {
    Tab1.AddItem("General");
    Tab1.AddItem("Shortcut keys");
    Tab1.AddItem("Custom desktop names");
    Tab1.SetListIndex(0);
    m_currentPage = 0;

    Line2.y1 = Line1.y1 - 1;
    Line2.y2 = Line1.y1 - 1;

    ReadSettings();
    m_stored = m_settings;
    FillControls();
    ShowHotKeyStatus();
}

void FormMain::ReadSettings() {
    m_settings = PanelSettings();
    // Without the settings key every value takes its default, and the Run value is not looked at.
    if (Registry::KeyExists(kRoot, Registry::SettingsKey)) {
        m_settings.transparency = TransparencyFromStore(ReadNumber("GUItransparency"));
        m_settings.autoStart = ReadText(Registry::RunKey, Registry::RunValue).has_value();
        for (size_t i = 0; i < m_settings.deskNames.size(); ++i) {
            const std::string name = "Desktop" + std::to_string(i + 1) + "Name";
            if (auto stored = ReadText(Registry::SettingsKey, name))
                m_settings.deskNames[i] = std::move(*stored);
        }
    }
    const auto stored = [](const char *name) { return Registry::ValueExists(kRoot, Registry::SettingsKey, name); };
    if (std::none_of(HotKeyValueNames.begin(), HotKeyValueNames.end(), stored)) {
        // The keys a start of the hub would take, so that a save before its first start stores keys Windows grants.
        SetHotKeys(m_settings,
                   FirstStartSetShown(HubRuns(), [this](const HotKeySet &set) { return RegistersWhole(set); }));
        return;
    }
    m_settings.modifiers = ModifiersFromStore(ReadNumber(HotKeyValueNames[0]));
    for (size_t i = 0; i < m_settings.deskKeys.size(); ++i)
        m_settings.deskKeys[i] = KeyFromStore(ReadNumber(HotKeyValueNames[i + 1]), m_settings.deskKeys[i]);
    m_settings.previousKey = KeyFromStore(ReadNumber(HotKeyValueNames[5]), m_settings.previousKey);
}

void FormMain::FillControls() {
    SetTicked(CheckTransparency, m_settings.transparency);
    SetTicked(CheckAutoStart, m_settings.autoStart);
    for (size_t i = 0; i < TextDeskName.size(); ++i)
        ::SetWindowTextW(TextDeskName[i], ToWide(m_settings.deskNames[i]).c_str());
    for (int16_t row = 1; row <= 5; ++row)
        SetKey(row, row <= 4 ? m_settings.deskKeys[static_cast<size_t>(row - 1)] : m_settings.previousKey);
    const ModifierBoxes boxes = BoxesFromModifiers(m_settings.modifiers);
    SetTicked(CheckAlt, boxes.alt);
    SetTicked(CheckCtrl, boxes.ctrl);
    SetTicked(CheckShift, boxes.shift);
    SetTicked(CheckWin, boxes.win);
}

void FormMain::SetKey(int16_t keyNumber, int16_t keyCode) {
    if (keyNumber < 1 || keyNumber > 5)
        return;
    if (keyNumber <= 4)
        m_settings.deskKeys[static_cast<size_t>(keyNumber - 1)] = keyCode;
    else
        m_settings.previousKey = keyCode;
    const std::string name = KeyText(static_cast<uint16_t>(keyCode));
    ::SetWindowTextA(LabelRecord[static_cast<size_t>(keyNumber - 1)], name.c_str());
}

bool FormMain::HoldTrial(int32_t id, int32_t modifiers, uint16_t key) {
    return ::RegisterHotKey(Hwnd(), kProbeHotKeyId + id, static_cast<UINT>(modifiers) | ModNoRepeat, key) != FALSE;
}

void FormMain::ReleaseTrials() {
    for (int32_t id = 1; id <= HotKeyCount; ++id)
        ::UnregisterHotKey(Hwnd(), kProbeHotKeyId + id);
}

bool FormMain::RegistersWhole(const HotKeySet &set) {
    bool whole = true;
    for (int32_t id = 1; id <= HotKeyCount; ++id)
        whole = HoldTrial(id, set.modifiers, set.keys[static_cast<size_t>(id - 1)]) && whole;
    ReleaseTrials();
    return whole;
}

void FormMain::ShowHotKeyStatus() {
    if (LabelStatus[0] == nullptr)
        return;
    const int16_t modifiers = ModifiersFromBoxes(
        {.alt = Ticked(CheckAlt), .ctrl = Ticked(CheckCtrl), .shift = Ticked(CheckShift), .win = Ticked(CheckWin)});
    const std::array<int16_t, 5> keys = {m_settings.deskKeys[0], m_settings.deskKeys[1], m_settings.deskKeys[2],
                                         m_settings.deskKeys[3], m_settings.previousKey};
    const HubHotKeys hub{HubRuns(), HeldHotKeys(), HotKeysOf(m_stored)};
    for (int16_t row = 1; row <= HotKeyCount; ++row) {
        HotKeyStatus status;
        if (const auto same = SameKeyRow(keys, row)) {
            status = {HotKeyState::SameAsRow, *same};
        } else {
            const auto key = static_cast<uint16_t>(keys[static_cast<size_t>(row - 1)]);
            const bool registered = HoldTrial(row, modifiers, key);
            ReleaseTrials();
            status = TriedStatus(registered, modifiers, key, hub);
        }
        ::SetWindowTextA(LabelStatus[static_cast<size_t>(row - 1)], HotKeyStatusText(status).c_str());
    }
}

bool FormMain::Ticked(HWND box) const {
    return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormMain::SetTicked(HWND box, bool ticked) {
    ::SendMessageA(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT FormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DPICHANGED: OnDpiChanged(wParam, lParam); return 0;
    case WM_NEXTDLGCTL: OnNextDlgCtl(wParam, lParam); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam)); return Default(message, wParam, lParam);
    case WM_SETFOCUS: RestoreFocus(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_PRINTCLIENT: OnPaint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void FormMain::OnCommand(int id, int code) {
    switch (id) {
    case IDOK: OnEnter(); break;         // Enter, from the dialog keys of the message loop
    case IDCANCEL: NoSaveExit_Click(); break;  // Escape
    case ControlId::NextPage: StepPage(1); break;
    case ControlId::PreviousPage: StepPage(-1); break;
    case ControlId::CheckWin:
    case ControlId::CheckCtrl:
    case ControlId::CheckAlt:
    case ControlId::CheckShift:
        if (code == BN_CLICKED)
            ShowHotKeyStatus();
        break;
    case ControlId::SaveExit: SaveExit_Click(); break;
    case ControlId::NoSaveExit: NoSaveExit_Click(); break;
    case ControlId::guideurl: guideurl_Click(); break;
    case ControlId::cmdStart: cmdStart_Click(); break;
    case ControlId::cmdStop: cmdStop_Click(); break;
    default:
        if (id >= ControlId::cmdRecordKey1 && id < ControlId::cmdRecordKey1 + 5)
            cmdRecordKey1_Click(id - ControlId::cmdRecordKey1);
        break;
    }
}

void FormMain::OnEnter() {
    // Enter on a focused push button presses that button; anywhere else it saves.
    const HWND focus = ::GetFocus();
    wchar_t windowClass[16] = {};
    ::GetClassNameW(focus, windowClass, static_cast<int>(std::size(windowClass)));
    const auto kind = static_cast<DWORD>(::GetWindowLongPtrW(focus, GWL_STYLE)) & BS_TYPEMASK;
    if (focus != nullptr && ::IsChild(Hwnd(), focus) && ::lstrcmpiW(windowClass, L"Button") == 0 &&
        (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
        ::SendMessageW(focus, BM_CLICK, 0, 0);
        return;
    }
    SaveExit_Click();
}

void FormMain::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    // The dialog keys send this to the window they serve as to a dialog; only a dialog's own procedure would
    // carry it out. An access key on a caption sends it twice: to the caption, then on to the next stop.
    HWND next = nullptr;
    if (LOWORD(lParam) != 0)
        next = reinterpret_cast<HWND>(wParam);
    else
        next = ::GetNextDlgTabItem(Hwnd(), ::GetFocus(), wParam != 0);
    if (next == nullptr)
        return;
    if (::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessageW(next, EM_SETSEL, 0, -1);
    ::SetFocus(next);
}

void FormMain::OnActivate(WORD state) {
    // As a dialog does: the control that had the focus gets it back when the window is active again.
    const HWND focus = ::GetFocus();
    if (state == WA_INACTIVE && focus != nullptr && ::IsChild(Hwnd(), focus))
        m_lastFocus = focus;
}

void FormMain::RestoreFocus() {
    if (m_lastFocus != nullptr && ::IsChild(Hwnd(), m_lastFocus) && ::IsWindowVisible(m_lastFocus))
        ::SetFocus(m_lastFocus);
    else
        FocusPage();
}

void FormMain::StepPage(int16_t step) {
    Tab1.SetListIndex(NextPage(Tab1.ListIndex(), step, Tab1.ListCount(), true));
}

void FormMain::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    OnPaint(dc);
    ::EndPaint(Hwnd(), &paint);
}

void FormMain::OnPaint(HDC dc) {
    // The two lines make an etched separator above the exit buttons.
    for (const Line &line : {Line1, Line2}) {
        GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(line.colorIndex)));
        SelectedObject selected(dc, pen.Get());
        // Line2 lies one pixel above Line1 at any DPI.
        const int shift = line.y1 < Line1.y1 ? 1 : 0;
        ::MoveToEx(dc, ScaleForDpi(line.x1, m_dpi), ScaleForDpi(Line1.y1, m_dpi) - shift, nullptr);
        ::LineTo(dc, ScaleForDpi(line.x2, m_dpi), ScaleForDpi(Line1.y2, m_dpi) - shift);
    }
}

Panel *FormMain::PageFrame(int16_t page) {
    switch (page) {
    case 0: return &FrameGeneral;
    case 1: return &FrameShortcutKeys;
    case 2: return &FrameDeskNames;
    default: return nullptr;
    }
}

void FormMain::Tab1_Click() {
    const int16_t page = Tab1.ListIndex();
    if (page == m_currentPage)
        return;
    Panel *current = PageFrame(m_currentPage);
    // Focus in the page going away would be lost with it; the strip keeps it for the next arrow key.
    const HWND focus = ::GetFocus();
    const bool refocus =
        focus == nullptr || focus == Hwnd() || (current != nullptr && ::IsChild(current->Hwnd(), focus));
    if (current != nullptr)
        ::ShowWindow(current->Hwnd(), SW_HIDE);
    if (Panel *next = PageFrame(page))
        ::ShowWindow(next->Hwnd(), SW_SHOW);
    m_currentPage = page;
    if (refocus)
        FocusPage();
}

void FormMain::FocusPage() {
    Panel *page = PageFrame(m_currentPage);
    if (page == nullptr)
        return;
    for (HWND child = ::GetWindow(page->Hwnd(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
            ::SetFocus(child);
            return;
        }
    }
}

void FormMain::CollectControls() {
    for (size_t i = 0; i < TextDeskName.size(); ++i)
        m_settings.deskNames[i] = ToAnsi(WindowText(TextDeskName[i]));
    m_settings.modifiers = ModifiersFromBoxes(
        {.alt = Ticked(CheckAlt), .ctrl = Ticked(CheckCtrl), .shift = Ticked(CheckShift), .win = Ticked(CheckWin)});
    m_settings.transparency = Ticked(CheckTransparency);
    m_settings.autoStart = Ticked(CheckAutoStart);
}

bool FormMain::RunSaveStep(const SaveStep &step) {
    switch (step.action) {
    case SaveStep::Action::WriteNumber: {
        uint32_t type = RegTypeDword;
        return Registry::SetValue(kRoot, step.key, step.name, type, std::get<int32_t>(step.data));
    }
    case SaveStep::Action::WriteText:
        return Registry::SetStringValue(kRoot, step.key, step.name, std::get<std::string>(step.data));
    case SaveStep::Action::Delete:
        return Registry::DeleteValue(kRoot, step.key, step.name);
    }
    return false;
}

void FormMain::SaveExit_Click() {
    CollectControls();
    if (!Registry::KeyExists(kRoot, Registry::SettingsKey) && !Registry::CreateKey(kRoot, Registry::SettingsKey)) {
        LogError(CreateKeyFailureText() + Registry::RegistryErrorText() + ")");
        ReportError(kReportCode, "");
        ::DestroyWindow(Hwnd());
        return;
    }
    const std::string runData = ToAnsi(QuotedPath(HubPath(ProgramDirectory())));
    const bool runValueExists = Registry::ValueExists(kRoot, Registry::RunKey, Registry::RunValue);
    for (const SaveStep &step : SaveSteps(m_settings, runData, runValueExists)) {
        if (!RunSaveStep(step)) {
            LogError(step.failure + Registry::RegistryErrorText() + ")");
            ReportError(kReportCode, "");
        }
    }
    SetEvents(ReReadEvents);
    ::DestroyWindow(Hwnd());
}

void FormMain::NoSaveExit_Click() {
    ::DestroyWindow(Hwnd());
}

void FormMain::guideurl_Click() {
    const std::wstring guide = ProgramDirectory() + L"\\" + ToWide(GuideFileName);
    ::ShellExecuteW(Hwnd(), L"open", guide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void FormMain::Form_Unload() {
    ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    ::PostQuitMessage(0);
}

std::wstring FormMain::GetDesktopName() const {
    Desktop input(::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS));
    if (!input)
        return {};
    wchar_t buffer[128] = {};
    ::GetUserObjectInformationW(input.Get(), UOI_NAME, buffer, sizeof buffer, nullptr);
    return DesktopNameFromBuffer(buffer, std::size(buffer));
}

bool FormMain::DesktopOneCheck() {
    if (IsDesktopOne(GetDesktopName()))
        return true;
    const std::string text(DesktopOneOnlyText);
    const std::string caption(FormCaption);
    ::MessageBoxA(Hwnd(), text.c_str(), caption.c_str(), MB_OK);
    return false;
}

void FormMain::cmdStart_Click() {
    if (!DesktopOneCheck())
        return;
    // Any of the events existing means some part of the system runs.
    for (int16_t index = 1; index <= EventCount; ++index) {
        KernelHandle event(::OpenEventA(EVENT_ALL_ACCESS, FALSE, EventName(index).c_str()));
        if (event) {
            event.Reset();
            const std::string text(AlreadyRunningText);
            const std::string title(ProgramTitle);
            ::MessageBoxA(Hwnd(), text.c_str(), title.c_str(), MB_OK);
            return;
        }
    }
    // By its full path as the program name, and quoted in the command line, so that a folder with blanks
    // cannot start another program.
    const std::wstring hub = HubPath(ProgramDirectory());
    std::wstring commandLine = QuotedPath(hub);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(hub.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

void FormMain::cmdStop_Click() {
    if (DesktopOneCheck() && AnyEventExists(ShutdownEvents) && WindowsLeftConfirmed())
        SetEvents(ShutdownEvents);
}

bool FormMain::WindowsLeftConfirmed() {
    const std::wstring question = ShutdownQuestion(WindowsOnOtherDesktops());
    if (question.empty())
        return true;
    const std::wstring caption = ToWide(FormCaption);
    return ::MessageBoxW(Hwnd(), question.c_str(), caption.c_str(),
                         MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDOK;
}

void FormMain::cmdRecordKey1_Click(int index) {
    Dialog dialog([this](int16_t keyNumber, int16_t keyCode) {
        SetKey(keyNumber, keyCode);
        ShowHotKeyStatus();
    });
    dialog.SetState(static_cast<int16_t>(index + 1));
    dialog.ShowModal(Hwnd());
}
