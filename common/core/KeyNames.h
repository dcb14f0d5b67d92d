// Hot keys in words: the modifier table and the scan-code rule behind the key's name.
#pragma once
#include <cstdint>
#include <string>

// Modifier bits: 1 = Alt, 2 = Control, 4 = Shift, 8 = the Windows key.
std::string ModifierText(int32_t modifiers);
// The scan code to name `virtualKey` by, with the extended-key flag in bit 8. `mappedScanCode` is what
// the keyboard layout maps the key to; it is not used for the four keys whose scan code is fixed here.
uint32_t KeyScanCode(uint16_t virtualKey, uint32_t mappedScanCode);
// The argument GetKeyNameTextA takes for that scan code (bit 24 is the extended flag).
int32_t KeyNameArgument(uint32_t scanCode);
// Modifier text + " + " + key text, as hot-key failure messages name a key.
std::string HotKeyText(int32_t modifiers, const std::string &keyText);
