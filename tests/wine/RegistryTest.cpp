// The settings store against the real registry of the test prefix, on a key of the test's own.
#include "Registry.h"
#include "WinAPIError.h"

#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Registry::CreateKey(HKEY_CURRENT_USER, m_key)); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, m_key.c_str()); }
    // Writes raw data, as another program (or a damaged profile) might.
    void Raw(const char *name, DWORD type, const void *data, DWORD size) {
        EXPECT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, m_key.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    // The type SetValue says it stored, 0 when it failed.
    uint32_t Set(const char *name, uint32_t type, const Registry::Value &value) {
        return Registry::SetValue(HKEY_CURRENT_USER, m_key, name, type, value) ? type : 0;
    }
    bool Query(const char *name, uint32_t type) {
        return Registry::QueryValue(HKEY_CURRENT_USER, m_key, name, type, m_value);
    }
    const std::string m_key = "Software\\VarnelTest" + std::to_string(::GetCurrentProcessId());
    Registry::Value m_value;
};

}  // namespace

TEST_F(RegistryTest, TextAndNumbersRoundTripWithTheTypeTheyAreStoredAs) {
    ::SetEnvironmentVariableA("VARNELTESTVAR", "expanded");
    EXPECT_EQ(Set("path", RegTypeSz, std::string("%VARNELTESTVAR%\\%NO_SUCH_VARNEL_NAME%")), RegTypeExpandSz);
    ASSERT_TRUE(Query("path", RegTypeExpandSz));
    EXPECT_EQ(std::get<std::string>(m_value), "expanded\\%NO_SUCH_VARNEL_NAME%");
    EXPECT_EQ(Set("plain", RegTypeExpandSz, std::string("100%")), RegTypeSz);  // nothing to expand
    // Type 5 is written as a plain little-endian REG_DWORD.
    EXPECT_EQ(Set("be", RegTypeDwordBigEndian, int16_t{-2}), RegTypeDword);
    ASSERT_TRUE(Query("be", RegTypeDword));
    EXPECT_EQ(std::get<int32_t>(m_value), -2);
    EXPECT_EQ(Set("bin", RegTypeBinary, std::vector<uint8_t>{9, 8, 7}), RegTypeBinary);
    ASSERT_TRUE(Query("bin", RegTypeBinary));
    EXPECT_EQ(std::get<std::vector<uint8_t>>(m_value), (std::vector<uint8_t>{9, 8, 7, 0}));  // one spare byte
    EXPECT_TRUE(Registry::DeleteValue(HKEY_CURRENT_USER, m_key, "bin"));
    EXPECT_FALSE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "bin"));
}

TEST_F(RegistryTest, DataOfOddSizesReadsSafely) {
    const std::pair<std::string, DWORD> texts[] = {{"", 1}, {"", 0}, {"Desk", 4}, {std::string(70000, 'x'), 70001}};
    for (const auto &[text, size] : texts) {
        Raw("odd", REG_SZ, text.c_str(), size);
        ASSERT_TRUE(Query("odd", RegTypeSz)) << size;
        EXPECT_EQ(std::get<std::string>(m_value), text) << size;
    }
    const unsigned char bytes[8] = {0x12, 0x34, 0x56, 0x78, 5, 6, 7, 8};
    Raw("be", REG_DWORD_BIG_ENDIAN, bytes, 4);
    ASSERT_TRUE(Query("be", RegTypeDwordBigEndian));
    EXPECT_EQ(std::get<int32_t>(m_value), 0x12345678);
    // A number of any size but four reads as missing and leaves the value as it was, not half read.
    for (DWORD size : {8u, 1u, 0u}) {
        Raw("odd", size == 1 ? REG_DWORD_BIG_ENDIAN : REG_DWORD, bytes, size);
        EXPECT_FALSE(Query("odd", size == 1 ? RegTypeDwordBigEndian : RegTypeDword)) << size;
        EXPECT_EQ(Registry::RegistryErrorText(),
                  "Registry data size was " + std::to_string(size) + " bytes instead of 4");
        EXPECT_EQ(std::get<int32_t>(m_value), 0x12345678) << size;
    }
}

TEST_F(RegistryTest, FailuresLeaveTheirTextUntilTheNextFailure) {
    EXPECT_FALSE(Query("missing", RegTypeSz));
    EXPECT_EQ(Registry::RegistryErrorText(), WinAPIErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Registry::KeyExists(HKEY_CURRENT_USER, m_key));
    EXPECT_EQ(Registry::RegistryErrorText().substr(Registry::RegistryErrorText().size() - 2), "\r\n");  // kept
    Raw("text3", REG_SZ, "3", 2);
    EXPECT_FALSE(Query("text3", RegTypeDword));
    EXPECT_EQ(Registry::RegistryErrorText(), "Registry data type was 1instead of the requested 4");
    EXPECT_EQ(Set("x", RegTypeDword, std::string("8")), 0u);
    EXPECT_EQ(Registry::RegistryErrorText(), InconsistentValueText);
    EXPECT_EQ(Set("x", 11, int32_t{8}), 0u);
    EXPECT_EQ(Registry::RegistryErrorText(), IncompatibleTypeText);
    EXPECT_FALSE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "x"));
    uint32_t type = RegTypeSz;
    EXPECT_FALSE(Registry::SetValue(HKEY_CURRENT_USER, m_key + "\\missing", "v", type, std::string("x")));
    EXPECT_FALSE(Registry::KeyExists(HKEY_CURRENT_USER, m_key + "\\missing"));  // SetValue creates no key
}
