// The decisions of the settings store that need no registry: value types, byte order, texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr uint32_t RegTypeSz = 1;
inline constexpr uint32_t RegTypeExpandSz = 2;
inline constexpr uint32_t RegTypeBinary = 3;
inline constexpr uint32_t RegTypeDword = 4;
inline constexpr uint32_t RegTypeDwordBigEndian = 5;
inline constexpr uint32_t RegTypeMultiSz = 7;

// REG_EXPAND_SZ when a further "%" begins at least two characters after the first one, else REG_SZ.
uint32_t TextValueType(std::string_view text);
uint32_t SwapDword(uint32_t value);
std::string TypeMismatchText(uint32_t storedType, uint32_t requestedType);
// A number is read only from exactly four bytes: a shorter or longer one counts as missing, with this text.
inline constexpr uint32_t DwordSize = 4;
std::string DwordSizeText(uint32_t storedSize);
// The text of stored string data: the final byte is dropped only when it is a NUL.
std::string TextFromRegistryData(const char *data, size_t size);

inline constexpr std::string_view InconsistentValueText = "The value type is not consistent.";
inline constexpr std::string_view IncompatibleTypeText =
    "The value type is not compatible with the available registry types.";
