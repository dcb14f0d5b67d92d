// What the switcher's Wine tests share: the 47 named events as the hub would hold them, settings written as the
// control panel writes them, reading back the screenshot files, and a tray that never goes empty.
#pragma once
#include "Handles.h"
#include "Registry.h"
#include "TestSupport.h"
#include "core/EventNames.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>

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
    // Whether the event was set since it was last observed (observing resets it).
    bool WasSet(int16_t index) const { return ::WaitForSingleObject(Get(index), 0) == WAIT_OBJECT_0; }
    // The indices set since they were last observed, in ascending order.
    std::set<int16_t> SetSince() const {
        std::set<int16_t> set;
        for (int16_t index = 1; index <= EventCount; ++index) {
            if (Get(index) != nullptr && WasSet(index))
                set.insert(index);
        }
        return set;
    }
    // The indices set until every one of `expected` was (or the time ran out): a leave's updates come a tick later.
    std::set<int16_t> SetUntil(const std::set<int16_t> &expected, DWORD timeoutMs = 5000) const {
        std::set<int16_t> seen;
        WaitFor(
            [&] {
                seen.merge(SetSince());
                return std::includes(seen.begin(), seen.end(), expected.begin(), expected.end());
            },
            timeoutMs);
        return seen;
    }

private:
    std::array<KernelHandle, EventCount> m_handles;
};

// A value under the settings key, of any type (the switcher must cope with wrong ones).
inline void SetSetting(const char *name, DWORD type, const void *data, DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, Registry::SettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    ::RegCloseKey(key);
}
inline void SetSetting(const char *name, const std::string &text) {
    SetSetting(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}
inline void SetSetting(const char *name, DWORD number) {
    SetSetting(name, REG_DWORD, &number, sizeof number);
}

// Width, height and bit depth from a BMP file's headers; zeros when it is no BMP.
struct BmpInfo {
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t fileSize = 0;
    bool operator==(const BmpInfo &) const = default;
};
inline BmpInfo ReadBmpInfo(const std::string &bytes) {
    BmpInfo info;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return info;
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    };
    info.fileSize = u32(2);
    info.width = static_cast<int32_t>(u32(18));
    info.height = static_cast<int32_t>(u32(22));
    info.bitCount = static_cast<uint16_t>(u32(28) & 0xFFFF);
    return info;
}

// The record naming the tray icon of a window (id 1, the version-1 size).
inline NOTIFYICONDATAA IconRecord(HWND window) {
    NOTIFYICONDATAA record = {};
    record.cbSize = 88;
    record.hWnd = window;
    record.uID = 1;
    return record;
}

// An icon of the test's own that keeps the notification area from going empty while it lives. Wine's stand-alone
// tray takes about two seconds to take a first icon (long enough for a busy machine to time the call out),
// while a further one goes in at once.
class KeeperIcon {
public:
    KeeperIcon() : m_window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {
        NOTIFYICONDATAA record = Record();
        record.uFlags = NIF_ICON;
        record.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        ::Shell_NotifyIconA(NIM_ADD, &record);
    }
    ~KeeperIcon() {
        NOTIFYICONDATAA record = Record();
        ::Shell_NotifyIconA(NIM_DELETE, &record);
    }
    KeeperIcon(const KeeperIcon &) = delete;
    KeeperIcon &operator=(const KeeperIcon &) = delete;

private:
    NOTIFYICONDATAA Record() const { return IconRecord(m_window.Get()); }
    OwnedWindow m_window;
};

// Whether the shell holds an icon of that window (it is gone afterwards).
inline bool ShellHadIcon(HWND window) {
    NOTIFYICONDATAA record = IconRecord(window);
    return ::Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}
