#include "Dialog.h"

#include "ControlIds.h"
#include "Dpi.h"
#include "Fonts.h"
#include "MessageLoop.h"
#include "PanelRules.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 338;
constexpr int kClientHeight = 139;

}  // namespace

void Dialog::SetState(int16_t keyNumber) {
    m_keyNumber = keyNumber;
    m_prompt = RecordPrompt(keyNumber);
    if (Hwnd() != nullptr)
        ::SetDlgItemTextA(Hwnd(), ControlId::DialogLabel1, m_prompt.c_str());
}

bool Dialog::Create(HWND owner) {
    // At its owner's DPI: a dialog opens on the screen of the window that asked for it.
    const int32_t dpi = WindowDpi(owner);
    const RECT frame = WindowRectForClient({0, 0, ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi)},
                                           kStyle, false, kExStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT ownerRect = {};
    ::GetWindowRect(owner, &ownerRect);
    const int x = (ownerRect.left + ownerRect.right - width) / 2;
    const int y = (ownerRect.top + ownerRect.bottom - height) / 2;
    const std::string caption(DialogCaption);
    if (!CreateBound("ControlPanel.Dialog", kExStyle, caption.c_str(), kStyle, x, y, width, height, owner))
        return false;

    m_font = PointFont("Tahoma", 900, false, dpi);
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const DpiRect labelRect = ScaleForDpi(DpiRect{8, 24, 321, 57}, dpi);
    const HWND label = ::CreateWindowExA(0, "STATIC", m_prompt.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, labelRect.left,
                                         labelRect.top, labelRect.width, labelRect.height, Hwnd(),
                                         reinterpret_cast<HMENU>(ControlId::DialogLabel1), instance, nullptr);
    const DpiRect cancelRect = ScaleForDpi(DpiRect{248, 104, 81, 25}, dpi);
    const HWND cancel = ::CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                          cancelRect.left, cancelRect.top, cancelRect.width, cancelRect.height, Hwnd(),
                                          reinterpret_cast<HMENU>(ControlId::CancelButton), instance, nullptr);
    for (const HWND control : {label, cancel})
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    return true;
}

void Dialog::ShowModal(HWND owner) {
    if (!Create(owner))
        return;
    ::EnableWindow(owner, FALSE);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
    ::SetFocus(::GetDlgItem(Hwnd(), ControlId::CancelButton));
    m_open = true;
    m_keyWentDown = false;
    MessageLoop loop("ControlPanel: ");
    MSG message;
    while (m_open) {
        if (!loop.Next(message)) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the owner's loop
            break;
        }
        if (Preview(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // The owner comes back first, so that it, not some other program, is activated when the dialog goes.
    ::EnableWindow(owner, TRUE);
    ::DestroyWindow(Hwnd());
}

bool Dialog::Preview(const MSG &message) {
    if (message.hwnd != Hwnd() && !::IsChild(Hwnd(), message.hwnd))
        return false;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        m_keyWentDown = true;
        return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!m_keyWentDown)
            return false;
        Form_KeyUp(message.wParam);
        return true;
    default:
        return false;
    }
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_CLOSE: CancelButton_Click(); return 0;
    case WM_DESTROY: m_open = false; return 0;
    default: return Default(message, wParam, lParam);
    }
}

void Dialog::OnCommand(int id) {
    if (id == ControlId::CancelButton)
        CancelButton_Click();
}

void Dialog::Form_KeyUp(WPARAM keyCode) {
    // Every key counts as it comes, Escape and the modifier keys too.
    if (m_setKey)
        m_setKey(m_keyNumber, static_cast<int16_t>(keyCode & 0xFFFF));
    m_open = false;
}

void Dialog::CancelButton_Click() {
    m_open = false;
}
