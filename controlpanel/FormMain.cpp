#include "FormMain.h"

#include "AnsiText.h"
#include "ControlIds.h"
#include "Dialog.h"
#include "Fonts.h"
#include "KeyText.h"
#include "Log.h"
#include "Registry.h"
#include "core/EventNames.h"

#include <shellapi.h>

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 495;
constexpr int kClientHeight = 343;
constexpr int kReportCode = 7;
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

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
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
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const std::string caption(FormCaption);
    if (!CreateBound("ControlPanel.FormMain", 0, caption.c_str(), kStyle, x, y, width, height, nullptr))
        return false;
    // The window destroys its menu with it.
    const HMENU help = ::CreatePopupMenu();
    ::AppendMenuA(help, MF_STRING, ControlId::guideurl, "&Online user's guide");
    const HMENU bar = ::CreateMenu();
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    ::SetMenu(Hwnd(), bar);
    CreateControls();
    return true;
}

HWND FormMain::AddControl(HWND parent, const char *windowClass, const char *text, DWORD style, int id, int x, int y,
                          int width, int height, HFONT font, DWORD exStyle) {
    const HWND control = ::CreateWindowExA(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void FormMain::CreateControls() {
    m_font = PointFont("Tahoma", 900, false);
    m_boldFont = PointFont("Tahoma", 900, true);
    m_buttonFont = PointFont("Tahoma", 825, false);
    const HFONT font = m_font.Get();
    constexpr DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
    constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;

    Tab1.Create(Hwnd(), ControlId::Tab1, 0, 0, 497, 25);
    // The look stored for this instance; the rest keeps the strip's own values.
    TabLook look;
    look.BackColor = 0x8000000B;
    look.ForeColor = 0x80000007;
    look.BorderColor = 0x404040;
    look.BorderShadowColor = 0x8000000F;
    look.BorderShadowColorSelected = 0x80000010;
    look.SpacingTop = 0;
    look.SpacingDown = 3;
    look.SpacingSides = 10;
    Tab1.SetLook(look);
    Tab1.SetFont(PointLogFont("Verdana", 825, true));
    Tab1.Click = [this] { Tab1_Click(); };

    // Page 0, General.
    FrameGeneral.Create(Hwnd(), ControlId::FrameGeneral, 8, 32, 481, 217, true);
    const HWND general = FrameGeneral.Hwnd();
    CheckAutoStart = AddControl(general, "BUTTON", "Automatically start Varnel when you log on to Windows", check,
                                ControlId::CheckAutoStart, 72, 32, 377, 25, font);
    CheckTransparency = AddControl(general, "BUTTON", "Set Varnel windows to semi-transparent", check,
                                   ControlId::CheckTransparency, 72, 72, 281, 25, font);
    Picture1.Create(general, ControlId::Picture1, 40, 136, 409, 57, true);
    AddControl(Picture1.Hwnd(), "BUTTON", "Start Varnel", button, ControlId::cmdStart, 24, 16, 169, 25, font);
    AddControl(Picture1.Hwnd(), "BUTTON", "Shutdown Varnel", button, ControlId::cmdStop, 216, 16, 169, 25, font);

    // Page 1, Shortcut keys; placed at load.
    FrameShortcutKeys.Create(Hwnd(), ControlId::FrameShortcutKeys, 0, 0, 481, 217, false);
    const HWND keys = FrameShortcutKeys.Hwnd();
    const HWND frame1 = AddControl(keys, "BUTTON", "Common", BS_GROUPBOX, ControlId::Frame1, 16, 16, 449, 49, font,
                                   WS_EX_CONTROLPARENT);
    CheckWin = AddControl(frame1, "BUTTON", "WIN key", check, ControlId::CheckWin, 48, 24, 89, 17, font);
    CheckCtrl = AddControl(frame1, "BUTTON", "CTRL key", check, ControlId::CheckCtrl, 144, 24, 89, 17, font);
    CheckAlt = AddControl(frame1, "BUTTON", "ALT key", check, ControlId::CheckAlt, 240, 24, 89, 17, font);
    CheckShift = AddControl(frame1, "BUTTON", "SHIFT key", check, ControlId::CheckShift, 336, 24, 89, 17, font);
    const char *rowCaptions[] = {"Switch to Desktop 1:", "Switch to Desktop 2:", "Switch to Desktop 3:",
                                 "Switch to Desktop 4:", "Switch to previous Desktop:"};
    for (int row = 0; row < 5; ++row) {
        const int top = 88 + 24 * row;
        const bool previous = row == 4;
        AddControl(keys, "STATIC", rowCaptions[row], SS_RIGHT, ControlId::Label1 + row, previous ? 56 : 96, top,
                   previous ? 161 : 121, 17, font);
        LabelRecord[static_cast<size_t>(row)] =
            AddControl(keys, "STATIC", "", SS_LEFT, ControlId::LabelRecord + row, 224, top, 65, 17, m_boldFont.Get());
        AddControl(keys, "BUTTON", "Record key", button, ControlId::cmdRecordKey1 + row, 296, top, 73, 17,
                   m_buttonFont.Get());
    }

    // Page 2, Custom desktop names; placed at load.
    FrameDeskNames.Create(Hwnd(), ControlId::FrameDeskNames, 0, 0, 481, 217, false);
    const HWND names = FrameDeskNames.Hwnd();
    for (int desk = 0; desk < 4; ++desk) {
        const int top = 40 + 32 * desk;
        const std::string caption = "Desktop " + std::to_string(desk + 1) + " name:";
        AddControl(names, "STATIC", caption.c_str(), SS_RIGHT, ControlId::LabelDeskName + desk, 112, top, 97, 17,
                   font);
        TextDeskName[static_cast<size_t>(desk)] =
            AddControl(names, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, ControlId::TextDeskName + desk, 216, top, 121,
                       21, font, WS_EX_CLIENTEDGE);
    }

    AddControl(Hwnd(), "BUTTON", "Save changes and exit", button, ControlId::SaveExit, 168, 280, 145, 25, font);
    AddControl(Hwnd(), "BUTTON", "Exit without saving changes", button, ControlId::NoSaveExit, 328, 280, 153, 25,
               font);
}

void FormMain::Form_Load() {
    Tab1.AddItem("General");
    Tab1.AddItem("Shortcut keys");
    Tab1.AddItem("Custom desktop names");
    Tab1.SetListIndex(0);
    m_currentPage = 0;

    RECT general = {};
    ::GetWindowRect(FrameGeneral.Hwnd(), &general);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT *>(&general), 2);
    for (Panel *page : {&FrameDeskNames, &FrameShortcutKeys})
        ::SetWindowPos(page->Hwnd(), nullptr, general.left, general.top, general.right - general.left,
                       general.bottom - general.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);

    Line2.y1 = Line1.y1 - 1;
    Line2.y2 = Line1.y1 - 1;

    ReadSettings();
    FillControls();
}

void FormMain::ReadSettings() {
    m_settings = PanelSettings();
    // Without the settings key every value takes its default, and the Run value is not looked at.
    if (!Registry::KeyExists(kRoot, Registry::SettingsKey))
        return;
    m_settings.transparency = TransparencyFromStore(ReadNumber("GUItransparency"));
    m_settings.autoStart = ReadText(Registry::RunKey, Registry::RunValue).has_value();
    for (size_t i = 0; i < m_settings.deskNames.size(); ++i) {
        const std::string name = "Desktop" + std::to_string(i + 1) + "Name";
        if (auto stored = ReadText(Registry::SettingsKey, name))
            m_settings.deskNames[i] = std::move(*stored);
    }
    m_settings.modifiers = ModifiersFromStore(ReadNumber("ShortcutKeyModifiers"));
    for (size_t i = 0; i < m_settings.deskKeys.size(); ++i) {
        const std::string name = "ShortcutKeyDesktop" + std::to_string(i + 1);
        m_settings.deskKeys[i] = KeyFromStore(ReadNumber(name.c_str()), m_settings.deskKeys[i]);
    }
    m_settings.previousKey = KeyFromStore(ReadNumber("ShortcutKeyPreviousDesktop"), m_settings.previousKey);
}

void FormMain::FillControls() {
    SetTicked(CheckTransparency, m_settings.transparency);
    SetTicked(CheckAutoStart, m_settings.autoStart);
    for (size_t i = 0; i < TextDeskName.size(); ++i)
        ::SetWindowTextA(TextDeskName[i], m_settings.deskNames[i].c_str());
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

bool FormMain::Ticked(HWND box) const {
    return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormMain::SetTicked(HWND box, bool ticked) {
    ::SendMessageA(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT FormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_PRINTCLIENT: OnPaint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void FormMain::OnCommand(int id) {
    switch (id) {
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
        ::MoveToEx(dc, line.x1, line.y1, nullptr);
        ::LineTo(dc, line.x2, line.y2);
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
    if (Panel *current = PageFrame(m_currentPage))
        ::ShowWindow(current->Hwnd(), SW_HIDE);
    if (Panel *next = PageFrame(page))
        ::ShowWindow(next->Hwnd(), SW_SHOW);
    m_currentPage = page;
}

void FormMain::CollectControls() {
    for (size_t i = 0; i < TextDeskName.size(); ++i)
        m_settings.deskNames[i] = WindowText(TextDeskName[i]);
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
    if (DesktopOneCheck())
        SetEvents(ShutdownEvents);
}

void FormMain::cmdRecordKey1_Click(int index) {
    Dialog dialog([this](int16_t keyNumber, int16_t keyCode) { SetKey(keyNumber, keyCode); });
    dialog.SetState(static_cast<int16_t>(index + 1));
    dialog.ShowModal(Hwnd());
}
