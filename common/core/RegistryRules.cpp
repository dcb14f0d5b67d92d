#include "RegistryRules.h"

uint32_t TextValueType(std::string_view text) {
    const auto first = text.find('%');
    if (first == std::string_view::npos || first + 2 >= text.size())
        return RegTypeSz;
    return text.find('%', first + 2) == std::string_view::npos ? RegTypeSz : RegTypeExpandSz;
}

uint32_t SwapDword(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

std::string TypeMismatchText(uint32_t storedType, uint32_t requestedType) {
    // No blank before "instead": the message has always read this way.
    return "Registry data type was " + std::to_string(storedType) + "instead of the requested " +
           std::to_string(requestedType);
}

std::string DwordSizeText(uint32_t storedSize) {
    return "Registry data size was " + std::to_string(storedSize) + " bytes instead of " + std::to_string(DwordSize);
}

std::string TextFromRegistryData(const char *data, size_t size) {
    if (data == nullptr || size == 0)
        return {};
    if (data[size - 1] == '\0')
        --size;
    return std::string(data, size);
}
