#include "KeyNames.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 16> kModifierTexts = {
    "0",     "ALT",         "CTRL",         "CTRL + ALT",        "SHIFT",     "SHIFT + ALT",
    "SHIFT + CTRL",         "CTRL + ALT + SHIFT",  "WIN",        "WIN + ALT", "WIN + CTRL",
    "WIN + CTRL + ALT",     "WIN + SHIFT",  "WIN + SHIFT + ALT", "WIN + SHIFT + CTRL",
    "WIN + SHIFT + CTRL + ALT",
};

struct FixedScanCode {
    uint16_t virtualKey;
    uint32_t scanCode;
};
// Pause, Num Lock, Print Screen (0x101, not 0x137) and the keypad's divide key.
constexpr std::array<FixedScanCode, 4> kFixedScanCodes = {{{0x13, 0x045}, {0x90, 0x145}, {0x2C, 0x101}, {0x6F, 0x135}}};

// Keys that share their scan code with a numeric-keypad or left-hand key and differ from it only by the
// extended flag: without the flag, Left would be named like the keypad's 4.
bool IsExtendedKey(uint16_t virtualKey) {
    switch (virtualKey) {
    case 0x21: case 0x22: case 0x23: case 0x24:  // Page Up, Page Down, End, Home
    case 0x25: case 0x26: case 0x27: case 0x28:  // arrows
    case 0x2D: case 0x2E:                        // Insert, Delete
    case 0x5B: case 0x5C: case 0x5D:             // left and right Windows keys, Applications
    case 0xA3: case 0xA5:                        // right Control, right Alt
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string ModifierText(int32_t modifiers) {
    if (modifiers < 0 || modifiers >= static_cast<int32_t>(kModifierTexts.size()))
        return {};
    return std::string(kModifierTexts[static_cast<size_t>(modifiers)]);
}

uint32_t KeyScanCode(uint16_t virtualKey, uint32_t mappedScanCode) {
    for (const auto &fixed : kFixedScanCodes) {
        if (fixed.virtualKey == virtualKey)
            return fixed.scanCode;
    }
    // An unmapped key stays 0 so that it keeps having no name.
    if (mappedScanCode != 0 && IsExtendedKey(virtualKey))
        return mappedScanCode | 0x100;
    return mappedScanCode;
}

int32_t KeyNameArgument(uint32_t scanCode) {
    return static_cast<int32_t>(scanCode << 16);
}

std::string HotKeyText(int32_t modifiers, const std::string &keyText) {
    return ModifierText(modifiers) + " + " + keyText;
}
