#include "core/RegistryRules.h"

#include <gtest/gtest.h>

TEST(RegistryRules, ValueTypesByteOrderAndTexts) {
    // REG_EXPAND_SZ only with a further "%" two or more characters after the first.
    for (const char *text : {"", "Desktop 1", "%", "%%", "100%", "%a", "a%%b"})
        EXPECT_EQ(TextValueType(text), RegTypeSz) << text;
    for (const char *text : {"%a%", "%%x%", "50% of 80%", "x%y%"})
        EXPECT_EQ(TextValueType(text), RegTypeExpandSz) << text;
    EXPECT_EQ(SwapDword(0x12345678u), 0x78563412u);
    EXPECT_EQ(SwapDword(0x80000001u), 0x01000080u);
    EXPECT_EQ(TypeMismatchText(11, 1), "Registry data type was 11instead of the requested 1");
    EXPECT_EQ(TextFromRegistryData("abc\0", 4), "abc");
    EXPECT_EQ(TextFromRegistryData("abc", 3), "abc");  // written without terminator: keeps its last letter
    EXPECT_EQ(TextFromRegistryData(nullptr, 5), "");
    EXPECT_EQ(TextFromRegistryData("a\0b\0\0", 5), std::string("a\0b\0", 4));  // multi-string keeps inner NULs
}
