// One icon in the notification area: the record handed to the shell and the shell's mouse callbacks, which
// arrive at the owner window and are turned into three events.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TrayIconEvents {
public:
    virtual void SysTray_MouseDown(int16_t button) = 0;  // 1 left, 2 right
    virtual void SysTray_MouseUp(int16_t button) = 0;
    virtual void SysTray_MouseDblClick(int16_t button) = 0;

protected:
    ~TrayIconEvents() = default;
};

class TrayIcon {
public:
    static constexpr int16_t StateRemoved = 0;
    static constexpr int16_t StateAdded = 1;
    static constexpr int16_t StateModified = 2;

    explicit TrayIcon(TrayIconEvents &events);
    ~TrayIcon();
    TrayIcon(const TrayIcon &) = delete;
    TrayIcon &operator=(const TrayIcon &) = delete;

    HWND OwnerForm() const { return m_ownerForm; }
    void SetOwnerForm(HWND owner) { m_ownerForm = owner; }
    int16_t State() const { return m_state; }
    // Deletes the icon that the last Add or Modify handed over, whatever the owner is now.
    void Remove();
    // False, and nothing handed to the shell, while the owner or the icon is missing.
    bool Modify();
    // The shell's answer (nonzero: success); 0 without handing anything over while the owner or icon is missing.
    int16_t Add();
    HICON Icon() const { return m_icon; }
    void SetIcon(HICON icon) { m_icon = icon; }  // shared: the icon belongs to whoever loaded it
    std::string Tooltip() const;
    void SetTooltip(std::string_view vData);
    const NOTIFYICONDATAA &NotifyData() const { return m_notifyData; }

    // The owner hands over the mouse message of each callback (the low word of its lParam). A handler may end
    // the program and so release this object before the call returns.
    void OnCallback(UINT mouseMessage);

private:
    bool Fill();

    TrayIconEvents &m_events;
    HWND m_ownerForm = nullptr;
    HICON m_icon = nullptr;
    std::string m_tipText;  // as last assigned, followed by one NUL
    int16_t m_state = StateRemoved;
    NOTIFYICONDATAA m_notifyData = {};
    bool m_inCallback = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);  // false once released, for a running callback
};
