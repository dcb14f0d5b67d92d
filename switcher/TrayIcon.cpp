#include "TrayIcon.h"

#include "core/TrayRecord.h"

#include <algorithm>

TrayIcon::TrayIcon(TrayIconEvents &events) : m_events(events) {}

TrayIcon::~TrayIcon() {
    *m_alive = false;
}

bool TrayIcon::Fill() {
    if (m_ownerForm == nullptr || m_icon == nullptr)
        return false;
    m_notifyData = {};
    // The shell's first ANSI form (88 bytes in a 32-bit program, 104 in a 64-bit one); mingw's full
    // NOTIFYICONDATAA is larger.
    m_notifyData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_notifyData.hWnd = m_ownerForm;
    m_notifyData.uID = TrayIconId;
    m_notifyData.uFlags = TrayFlags;
    m_notifyData.uCallbackMessage = TrayCallbackMessage;
    m_notifyData.hIcon = m_icon;
    const auto tip = TrayTipBytes(m_tipText, ::GetACP() == CP_UTF8);
    std::copy(tip.begin(), tip.end(), m_notifyData.szTip);
    return true;
}

void TrayIcon::Remove() {
    ::Shell_NotifyIconA(NIM_DELETE, &m_notifyData);
    m_state = StateRemoved;
}

bool TrayIcon::Modify() {
    if (!Fill())
        return false;
    ::Shell_NotifyIconA(NIM_MODIFY, &m_notifyData);
    m_state = StateModified;
    return true;
}

int16_t TrayIcon::Add() {
    if (!Fill())
        return 0;
    const BOOL result = ::Shell_NotifyIconA(NIM_ADD, &m_notifyData);
    m_state = StateAdded;
    return static_cast<int16_t>(result);
}

std::string TrayIcon::Tooltip() const {
    return m_tipText.empty() ? std::string() : m_tipText.substr(0, m_tipText.size() - 1);
}

void TrayIcon::SetTooltip(std::string_view vData) {
    m_tipText.assign(vData);
    m_tipText.push_back('\0');
}

void TrayIcon::OnCallback(UINT mouseMessage) {
    // A handler that lets messages through must not be re-entered by the next click.
    if (m_inCallback)
        return;
    const TrayEvent event = TrayEventOf(mouseMessage);
    // "EndApp" or WM_CLOSE handled while a handler lets messages through releases this object: the flag is
    // then gone with it and must not be touched.
    struct Guard {
        std::shared_ptr<bool> alive;
        bool &flag;
        ~Guard() {
            if (*alive)
                flag = false;
        }
    } guard{m_alive, m_inCallback};
    m_inCallback = true;
    switch (event.kind) {
    case TrayEventKind::MouseDown: m_events.SysTray_MouseDown(event.button); break;
    case TrayEventKind::MouseUp: m_events.SysTray_MouseUp(event.button); break;
    case TrayEventKind::MouseDblClick: m_events.SysTray_MouseDblClick(event.button); break;
    case TrayEventKind::None: break;
    }
}
