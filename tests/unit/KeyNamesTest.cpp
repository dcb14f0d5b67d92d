#include "core/KeyNames.h"

#include <gtest/gtest.h>

TEST(ModifierText, EveryCombination) {
    const char *expected[] = {
        "0",     "ALT",       "CTRL",       "CTRL + ALT",       "SHIFT",       "SHIFT + ALT",
        "SHIFT + CTRL",       "CTRL + ALT + SHIFT",  "WIN",     "WIN + ALT",   "WIN + CTRL",
        "WIN + CTRL + ALT",   "WIN + SHIFT",         "WIN + SHIFT + ALT",       "WIN + SHIFT + CTRL",
        "WIN + SHIFT + CTRL + ALT",
    };
    for (int bits = 0; bits < 16; ++bits)
        EXPECT_EQ(ModifierText(bits), expected[bits]) << "bits " << bits;
}

TEST(ModifierText, OutOfRangeIsEmpty) {
    for (int bits : {16, -1, 255, 0x7FFFFFFF, static_cast<int>(0x80000000)})
        EXPECT_EQ(ModifierText(bits), "") << "bits " << bits;
}

TEST(KeyScanCode, FixedTableWinsOverTheLayout) {
    EXPECT_EQ(KeyScanCode(0x13, 0x45), 0x045u);  // Pause
    EXPECT_EQ(KeyScanCode(0x90, 0x45), 0x145u);  // Num Lock
    EXPECT_EQ(KeyScanCode(0x2C, 0x37), 0x101u);  // Print Screen
    EXPECT_EQ(KeyScanCode(0x6F, 0x35), 0x135u);  // keypad divide
    EXPECT_EQ(KeyScanCode(0x13, 0), 0x045u);
}

TEST(KeyScanCode, ExtendedKeysGetTheFlagAndTheirKeypadTwinsDoNot) {
    const struct {
        uint16_t virtualKey;
        uint32_t mapped;
        uint32_t expected;
    } cases[] = {
        {0x25, 0x4B, 0x14B}, {0x26, 0x48, 0x148}, {0x27, 0x4D, 0x14D}, {0x28, 0x50, 0x150},  // arrows
        {0x2D, 0x52, 0x152}, {0x2E, 0x53, 0x153}, {0x24, 0x47, 0x147}, {0x23, 0x4F, 0x14F},  // Ins Del Home End
        {0x21, 0x49, 0x149}, {0x22, 0x51, 0x151},                                            // Page Up, Down
        {0x64, 0x4B, 0x04B}, {0x68, 0x48, 0x048}, {0x60, 0x52, 0x052},                       // keypad 4 8 0
        {0x31, 0x02, 0x002}, {0xC0, 0x29, 0x029}, {0x70, 0x3B, 0x03B},                       // 1 ` F1
        {0x25, 0, 0},                                                                        // unmapped
    };
    for (const auto &c : cases)
        EXPECT_EQ(KeyScanCode(c.virtualKey, c.mapped), c.expected) << "vk " << c.virtualKey;
}

TEST(KeyNameArgument, ScanCodeInTheHighWord) {
    EXPECT_EQ(KeyNameArgument(0x002), 0x00020000);
    EXPECT_EQ(KeyNameArgument(0x145), 0x01450000);
    EXPECT_EQ(KeyNameArgument(0x101), 0x01010000);
    EXPECT_EQ(KeyNameArgument(0), 0);
}

TEST(HotKeyText, ModifiersThenKey) {
    EXPECT_EQ(HotKeyText(8, "1"), "WIN + 1");
    EXPECT_EQ(HotKeyText(3, "Left"), "CTRL + ALT + Left");
    EXPECT_EQ(HotKeyText(16, "`"), " + `");
}
