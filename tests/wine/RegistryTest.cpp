// The settings store against the real registry of the test prefix, on keys of the test's own.
#include "Registry.h"
#include "WinAPIError.h"

#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_key = "Software\\VarnelTest\\" + std::to_string(::GetCurrentProcessId()) + "\\" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(Registry::CreateKey(HKEY_CURRENT_USER, m_key));
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VarnelTest"); }

    // Writes raw data, as another program (or a damaged profile) might.
    void Raw(const char *name, DWORD type, const void *data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    DWORD StoredType(const char *name) {
        DWORD type = 0;
        ::RegGetValueA(HKEY_CURRENT_USER, m_key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr);
        return type;
    }
    std::string m_key;
};

template <class T>
T Get(const Registry::Value &value) {
    return std::holds_alternative<T>(value) ? std::get<T>(value) : T{};
}

}  // namespace

TEST_F(RegistryTest, KeysAndValuesExistOrNot) {
    EXPECT_TRUE(Registry::KeyExists(HKEY_CURRENT_USER, m_key));
    EXPECT_FALSE(Registry::KeyExists(HKEY_CURRENT_USER, m_key + "\\missing"));
    EXPECT_EQ(Registry::RegistryErrorText(), WinAPIErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "v"));
    uint32_t type = RegTypeDword;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "v", type, int32_t{7}));
    EXPECT_TRUE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "v"));
    EXPECT_TRUE(Registry::DeleteValue(HKEY_CURRENT_USER, m_key, "v"));
    EXPECT_FALSE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "v"));
    EXPECT_FALSE(Registry::DeleteValue(HKEY_CURRENT_USER, m_key, "v"));
    EXPECT_FALSE(Registry::RegistryErrorText().empty());
}

TEST_F(RegistryTest, TextRoundTripsAndPercentNamesBecomeExpandable) {
    uint32_t type = RegTypeSz;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "name", type, std::string("Mail & Web")));
    EXPECT_EQ(type, RegTypeSz);
    Registry::Value value;
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "name", RegTypeSz, value));
    EXPECT_EQ(Get<std::string>(value), "Mail & Web");

    ::SetEnvironmentVariableA("VARNELTESTVAR", "expanded");
    type = RegTypeSz;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "path", type, std::string("%VARNELTESTVAR%\\x")));
    EXPECT_EQ(type, RegTypeExpandSz);
    EXPECT_EQ(StoredType("path"), static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_FALSE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "path", RegTypeSz, value));
    EXPECT_EQ(Registry::RegistryErrorText(), "Registry data type was 2instead of the requested 1");
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "path", RegTypeExpandSz, value));
    EXPECT_EQ(Get<std::string>(value), "expanded\\x");

    // Written with type 2 but nothing to expand: stored as REG_SZ, and the caller learns it.
    type = RegTypeExpandSz;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "plain", type, std::string("100%")));
    EXPECT_EQ(type, RegTypeSz);
    EXPECT_EQ(StoredType("plain"), static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryTest, StringDataOfOddSizesReadsSafely) {
    Registry::Value value = std::string("stale");
    Raw("nul", REG_SZ, "", 1);
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "nul", RegTypeSz, value));
    EXPECT_EQ(Get<std::string>(value), "");
    Raw("empty", REG_SZ, "", 0);
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "empty", RegTypeSz, value));
    EXPECT_EQ(Get<std::string>(value), "");
    Raw("unterminated", REG_SZ, "Desk", 4);
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "unterminated", RegTypeSz, value));
    EXPECT_EQ(Get<std::string>(value), "Desk");
    const std::string big(70000, 'x');
    Raw("big", REG_SZ, big.c_str(), static_cast<DWORD>(big.size() + 1));
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "big", RegTypeSz, value));
    EXPECT_EQ(Get<std::string>(value), big);
}

TEST_F(RegistryTest, NumbersAndByteOrder) {
    uint32_t type = RegTypeDword;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "dw", type, int32_t{-2}));
    Registry::Value value;
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "dw", RegTypeDword, value));
    EXPECT_EQ(Get<int32_t>(value), -2);

    // Type 5 is written as a plain little-endian REG_DWORD without reversal.
    type = RegTypeDwordBigEndian;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "be", type, int16_t{0x1234}));
    EXPECT_EQ(type, RegTypeDword);
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "be", RegTypeDword, value));
    EXPECT_EQ(Get<int32_t>(value), 0x1234);

    const unsigned char bigEndian[] = {0x12, 0x34, 0x56, 0x78};
    Raw("stored_be", REG_DWORD_BIG_ENDIAN, bigEndian, 4);
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "stored_be", RegTypeDwordBigEndian, value));
    EXPECT_EQ(Get<int32_t>(value), 0x12345678);

    // A DWORD of any size but four reads as missing, not half read: a 1-byte {5} is not 5, a 0-byte one not 0.
    const unsigned char eight[8] = {5, 2, 3, 4, 5, 6, 7, 8};
    for (DWORD size : {8u, 1u, 0u}) {
        value = int32_t{-7};
        Raw("odd", REG_DWORD, eight, size);
        EXPECT_FALSE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "odd", RegTypeDword, value)) << size;
        EXPECT_EQ(Registry::RegistryErrorText(), "Registry data size was " + std::to_string(size) + " bytes instead of 4");
        EXPECT_EQ(Get<int32_t>(value), -7) << size;  // left as it was
    }
    Raw("odd_be", REG_DWORD_BIG_ENDIAN, eight, 2);
    EXPECT_FALSE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "odd_be", RegTypeDwordBigEndian, value));
}

TEST_F(RegistryTest, WrongTypesAreRefusedWithTheirTexts) {
    Raw("text3", REG_SZ, "3", 2);
    Registry::Value value;
    EXPECT_FALSE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "text3", RegTypeDword, value));
    EXPECT_EQ(Registry::RegistryErrorText(), "Registry data type was 1instead of the requested 4");

    uint32_t type = RegTypeDword;
    EXPECT_FALSE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "x", type, std::string("8")));
    EXPECT_EQ(Registry::RegistryErrorText(), "The value type is not consistent.");
    type = RegTypeBinary;
    EXPECT_FALSE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "x", type, int32_t{8}));
    EXPECT_EQ(Registry::RegistryErrorText(), "The value type is not consistent.");
    type = 11;
    EXPECT_FALSE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "x", type, int32_t{8}));
    EXPECT_EQ(Registry::RegistryErrorText(), "The value type is not compatible with the available registry types.");
    EXPECT_FALSE(Registry::ValueExists(HKEY_CURRENT_USER, m_key, "x"));
}

TEST_F(RegistryTest, BinaryComesBackWithOneSpareByte) {
    uint32_t type = RegTypeBinary;
    ASSERT_TRUE(Registry::SetValue(HKEY_CURRENT_USER, m_key, "bin", type, std::vector<uint8_t>{9, 8, 7}));
    Registry::Value value;
    ASSERT_TRUE(Registry::QueryValue(HKEY_CURRENT_USER, m_key, "bin", RegTypeBinary, value));
    EXPECT_EQ(Get<std::vector<uint8_t>>(value), (std::vector<uint8_t>{9, 8, 7, 0}));
}

TEST_F(RegistryTest, SetValueOnAMissingKeyCreatesNothing) {
    uint32_t type = RegTypeSz;
    EXPECT_FALSE(Registry::SetValue(HKEY_CURRENT_USER, m_key + "\\absent", "v", type, std::string("x")));
    EXPECT_EQ(Registry::RegistryErrorText(), WinAPIErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Registry::KeyExists(HKEY_CURRENT_USER, m_key + "\\absent"));
    // A successful call leaves the last failure's text in place.
    EXPECT_TRUE(Registry::KeyExists(HKEY_CURRENT_USER, m_key));
    EXPECT_EQ(Registry::RegistryErrorText(), WinAPIErrorText(ERROR_FILE_NOT_FOUND));
}

TEST(ExpandString, ExpandsKnownNamesAndKeepsUnknownOnes) {
    ::SetEnvironmentVariableA("VARNELTESTNAME", "Varnel");
    EXPECT_EQ(Registry::ExpandString("a %VARNELTESTNAME% b"), "a Varnel b");
    EXPECT_EQ(Registry::ExpandString("%NO_SUCH_VARNEL_NAME%"), "%NO_SUCH_VARNEL_NAME%");
    EXPECT_EQ(Registry::ExpandString(""), "");
}
