// What a key does in the large view: move the red frame within the 2 x 2 grid (no wrap-around) or pick the
// selected desktop; and the words of a frame without a picture. Pure: no Windows header.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

enum class KeyActionKind { None, Move, Pick };
struct KeyAction {
    KeyActionKind kind = KeyActionKind::None;
    int16_t desk = 0;  // the desktop moved to or picked
    bool operator==(const KeyAction &) const = default;
};

// Virtual-key codes the large view answers to; every other key does nothing.
inline constexpr uint32_t KeyEnter = 13;
inline constexpr uint32_t KeyLeft = 37;
inline constexpr uint32_t KeyUp = 38;
inline constexpr uint32_t KeyRight = 39;
inline constexpr uint32_t KeyDown = 40;

// `selection` is the desktop (1..4) whose frame is red: 1 top left, 2 top right, 3 bottom left, 4 bottom right.
KeyAction LargeViewKey(int16_t selection, uint32_t keyCode);

// The words in the frame of a desktop whose picture has not come yet (it comes when the user leaves that desktop):
// its name, and when its picture appears.
std::string NotVisitedText(std::string_view desktopName);
