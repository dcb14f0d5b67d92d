// Key names from the keyboard layout of the prefix (US).
#include "KeyText.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(KeyText, MainBlockKeysAreNamedByTheirScanCodes) {
    EXPECT_EQ(KeyText('1'), "1");
    EXPECT_EQ(KeyText(VK_F1), "F1");
    char name[64] = {};
    ASSERT_GT(::GetKeyNameTextA(0x29 << 16, name, sizeof name), 0);
    EXPECT_EQ(KeyText(VK_OEM_3), name);
}

TEST(KeyText, ExtendedKeysAreNotNamedAfterTheirKeypadTwins) {
    const struct {
        WORD key;
        WORD keypadTwin;
    } pairs[] = {{VK_LEFT, VK_NUMPAD4}, {VK_UP, VK_NUMPAD8}, {VK_RIGHT, VK_NUMPAD6}, {VK_DOWN, VK_NUMPAD2},
                 {VK_INSERT, VK_NUMPAD0}, {VK_HOME, VK_NUMPAD7}, {VK_END, VK_NUMPAD1}, {VK_PRIOR, VK_NUMPAD9},
                 {VK_NEXT, VK_NUMPAD3}};
    for (const auto &pair : pairs) {
        const std::string name = KeyText(pair.key);
        EXPECT_FALSE(name.empty()) << pair.key;
        EXPECT_NE(name, KeyText(pair.keypadTwin)) << pair.key;
    }
    char left[64] = {};
    ::GetKeyNameTextA((0x4B << 16) | (1 << 24), left, sizeof left);
    EXPECT_EQ(KeyText(VK_LEFT), left);
}

TEST(KeyText, FixedScanCodesAndUnmappedKeys) {
    // Pause (0x045) and Num Lock (0x145) share a scan code and differ by the extended flag.
    EXPECT_NE(KeyText(VK_PAUSE), KeyText(VK_NUMLOCK));
    EXPECT_FALSE(KeyText(VK_PAUSE).empty());
    EXPECT_EQ(KeyText(0xFF), "");
    EXPECT_EQ(KeyText(0), "");
}
