// What the tray icon hands to the shell and how it reads the shell's callbacks. Pure: no Windows header.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

inline constexpr uint32_t TrayIconId = 1;
inline constexpr uint32_t TrayFlags = 7;                // message, icon and tip
inline constexpr uint32_t TrayCallbackMessage = 0x200;  // arrives as WM_MOUSEMOVE on the owner
inline constexpr size_t TrayTipSize = 64;

// The tip bytes: at most 63 bytes of the text, a NUL, then blanks to the end. UTF-8 text (the code page of
// Varnel's programs wherever Windows honours their manifest) is cut between characters, never inside one.
std::array<char, TrayTipSize> TrayTipBytes(std::string_view ansiText, bool utf8);

enum class TrayEventKind { None, MouseDown, MouseUp, MouseDblClick };
struct TrayEvent {
    TrayEventKind kind = TrayEventKind::None;
    int16_t button = 0;  // 1 left, 2 right
    bool operator==(const TrayEvent &) const = default;
};
// The event a callback's mouse message raises; moves and the middle button raise none.
TrayEvent TrayEventOf(uint32_t mouseMessage);
