#include "core/KeyNames.h"

#include <gtest/gtest.h>

TEST(KeyNames, ModifierTextsScanCodesAndHotKeys) {
    const char *modifiers[] = {
        "0",     "ALT",       "CTRL",       "CTRL + ALT",       "SHIFT",       "SHIFT + ALT",
        "SHIFT + CTRL",       "CTRL + ALT + SHIFT",  "WIN",     "WIN + ALT",   "WIN + CTRL",
        "WIN + CTRL + ALT",   "WIN + SHIFT",         "WIN + SHIFT + ALT",       "WIN + SHIFT + CTRL",
        "WIN + SHIFT + CTRL + ALT",
    };
    for (int bits = 0; bits < 16; ++bits)
        EXPECT_EQ(ModifierText(bits), modifiers[bits]) << "bits " << bits;
    EXPECT_EQ(ModifierText(16), "");
    EXPECT_EQ(ModifierText(-1), "");
    // {virtual key, the layout's scan code, expected}: Pause, Num Lock, Print Screen and keypad divide are fixed;
    // arrows, Insert, Delete, Home, End, Page Up/Down get the extended flag, their keypad twins and others not.
    const uint32_t scans[][3] = {
        {0x13, 0x45, 0x045}, {0x90, 0x45, 0x145}, {0x2C, 0x37, 0x101}, {0x6F, 0x35, 0x135}, {0x25, 0x4B, 0x14B},
        {0x26, 0x48, 0x148}, {0x27, 0x4D, 0x14D}, {0x28, 0x50, 0x150}, {0x2D, 0x52, 0x152}, {0x2E, 0x53, 0x153},
        {0x24, 0x47, 0x147}, {0x23, 0x4F, 0x14F}, {0x21, 0x49, 0x149}, {0x22, 0x51, 0x151}, {0x64, 0x4B, 0x04B},
        {0x60, 0x52, 0x052}, {0x31, 0x02, 0x002}, {0x25, 0, 0},
    };
    for (const auto &c : scans)
        EXPECT_EQ(KeyScanCode(static_cast<uint16_t>(c[0]), c[1]), c[2]) << "vk " << c[0];
    EXPECT_EQ(KeyNameArgument(0x145), 0x01450000);
    EXPECT_EQ(HotKeyText(3, "Left"), "CTRL + ALT + Left");
}
