#include "core/RegistryRules.h"

#include <gtest/gtest.h>

TEST(TextValueType, ExpandOnlyWithAFurtherPercentTwoOrMoreAfterTheFirst) {
    const struct {
        const char *text;
        uint32_t type;
    } cases[] = {
        {"", RegTypeSz},          {"Desktop 1", RegTypeSz}, {"%", RegTypeSz},           {"%%", RegTypeSz},
        {"100%", RegTypeSz},      {"%a", RegTypeSz},        {"%a%", RegTypeExpandSz},   {"%USERNAME%", RegTypeExpandSz},
        {"a%%b", RegTypeSz},      {"%%x%", RegTypeExpandSz}, {"50% of 80%", RegTypeExpandSz}, {"x%y%", RegTypeExpandSz},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TextValueType(c.text), c.type) << '"' << c.text << '"';
}

TEST(SwapDword, ReversesTheFourBytes) {
    EXPECT_EQ(SwapDword(0x12345678u), 0x78563412u);
    EXPECT_EQ(SwapDword(0x000000FFu), 0xFF000000u);
    EXPECT_EQ(SwapDword(0x80000001u), 0x01000080u);
    EXPECT_EQ(SwapDword(SwapDword(0xDEADBEEFu)), 0xDEADBEEFu);
}

TEST(TypeMismatchText, NumbersWithoutABlankBeforeInstead) {
    EXPECT_EQ(TypeMismatchText(1, 4), "Registry data type was 1instead of the requested 4");
    EXPECT_EQ(TypeMismatchText(11, 1), "Registry data type was 11instead of the requested 1");
}

TEST(TextFromRegistryData, DropsOnlyATerminatingNul) {
    EXPECT_EQ(TextFromRegistryData("abc\0", 4), "abc");
    EXPECT_EQ(TextFromRegistryData("abc", 3), "abc");  // written without terminator: keeps its last letter
    EXPECT_EQ(TextFromRegistryData("\0", 1), "");
    EXPECT_EQ(TextFromRegistryData("", 0), "");
    EXPECT_EQ(TextFromRegistryData(nullptr, 5), "");
    EXPECT_EQ(TextFromRegistryData("a\0b\0\0", 5), std::string("a\0b\0", 4));  // multi-string keeps inner NULs
}
