// What the switcher's Wine tests share: the hub's events, the settings, the screenshot files and the tray.
#pragma once
#include "Handles.h"
#include "Registry.h"
#include "TestSupport.h"
#include "core/BmpFile.h"
#include "core/EventNames.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <set>

// Creates the events the hub creates (all but `missing`) and holds them, so their sets can be observed.
class HubEvents {
public:
    explicit HubEvents(const std::set<int16_t> &missing = {}) {
        for (int16_t index = 1; index <= EventCount; ++index) {
            if (!missing.count(index))
                m_handles[static_cast<size_t>(index - 1)].Reset(
                    ::CreateEventA(nullptr, FALSE, FALSE, EventName(index).c_str()));
        }
    }
    HANDLE Get(int16_t index) const { return m_handles[static_cast<size_t>(index - 1)].Get(); }
    std::set<int16_t> SetSince() const {  // observing resets them
        std::set<int16_t> set;
        for (int16_t index = 1; index <= EventCount; ++index) {
            if (Get(index) != nullptr && ::WaitForSingleObject(Get(index), 0) == WAIT_OBJECT_0)
                set.insert(index);
        }
        return set;
    }

private:
    std::array<KernelHandle, EventCount> m_handles;
};

// A value under the settings key, a text or a number (the switcher must cope with a wrong type).
inline void SetSetting(const char *name, const Registry::Value &value) {
    uint32_t type = std::holds_alternative<std::string>(value) ? REG_SZ : REG_DWORD;
    Registry::CreateKey(HKEY_CURRENT_USER, Registry::SettingsKey);
    Registry::SetValue(HKEY_CURRENT_USER, Registry::SettingsKey, name, type, value);
}

// The pixels of a whole screenshot file; none when it is missing, damaged or longer than its pixels.
inline std::optional<BmpPixels> FileBmp(const std::wstring &path) {
    const std::string bytes = ReadFileBytes(path);
    const auto pixels = CheckBmpFile(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), 1280, 1024);
    return pixels && pixels->offset + pixels->size == bytes.size() ? pixels : std::nullopt;
}
// 559 x 431 at 24 bits, rows padded to 1680 bytes: the picture a switcher leaves on a 1280 x 1024 screen.
inline const BmpPixels Thumbnail = {559, 431, 24, 54, 1680 * 431};

inline NOTIFYICONDATAA IconRecord(HWND window) {
    NOTIFYICONDATAA record = {};
    record.cbSize = 88;
    record.hWnd = window;
    record.uID = 1;
    return record;
}
// Whether the shell holds an icon of that window (it is gone afterwards).
inline bool ShellHadIcon(HWND window) {
    NOTIFYICONDATAA record = IconRecord(window);
    return ::Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

// An icon of the test's own that keeps the notification area from going empty while it lives: Wine's
// stand-alone tray takes about two seconds to take a first icon, a further one goes in at once.
class KeeperIcon {
public:
    KeeperIcon() : m_window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {
        NOTIFYICONDATAA record = IconRecord(m_window.Get());
        record.uFlags = NIF_ICON;
        record.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        ::Shell_NotifyIconA(NIM_ADD, &record);
    }
    ~KeeperIcon() { ShellHadIcon(m_window.Get()); }

private:
    OwnedWindow m_window;
};
