#include "Registry.h"

#include "Handles.h"
#include "WinAPIError.h"

namespace Registry {
namespace {

std::string g_errorText;  // the module's one error text; replaced by every failure, never cleared

bool Fail(LSTATUS status) {
    g_errorText = WinAPIErrorText(static_cast<uint32_t>(status));
    return false;
}

bool Fail(std::string_view text) {
    g_errorText = text;
    return false;
}

LSTATUS Open(HKEY root, const std::string &key, REGSAM access, RegKey &opened) {
    HKEY handle = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(root, key.c_str(), 0, access, &handle);
    opened.Reset(status == ERROR_SUCCESS ? handle : nullptr);
    return status;
}

constexpr REGSAM kWriteAccess = 0x3F;

// Text as SetValue takes it from any kind of value.
std::string AsText(const Value &value) {
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *small = std::get_if<int16_t>(&value))
        return std::to_string(*small);
    if (const auto *number = std::get_if<int32_t>(&value))
        return std::to_string(*number);
    if (const auto *bytes = std::get_if<std::vector<uint8_t>>(&value))
        return std::string(bytes->begin(), bytes->end());
    return {};
}

}  // namespace

bool KeyExists(HKEY root, const std::string &key) {
    RegKey opened;
    const LSTATUS status = Open(root, key, KEY_QUERY_VALUE, opened);
    return status == ERROR_SUCCESS || Fail(status);
}

bool ValueExists(HKEY root, const std::string &key, const std::string &name) {
    RegKey opened;
    LSTATUS status = Open(root, key, KEY_QUERY_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    DWORD size = 0;
    status = ::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, nullptr, &size);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA || Fail(status);
}

bool CreateKey(HKEY root, const std::string &key, bool isVolatile) {
    HKEY handle = nullptr;
    char emptyClass[] = "";
    const LSTATUS status =
        ::RegCreateKeyExA(root, key.c_str(), 0, emptyClass, isVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE,
                          kWriteAccess, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    RegKey created(handle);
    return true;
}

bool DeleteKey(HKEY root, const std::string &key) {
    const LSTATUS status = ::RegDeleteKeyA(root, key.c_str());
    return status == ERROR_SUCCESS || Fail(status);
}

bool DeleteValue(HKEY root, const std::string &key, const std::string &name) {
    RegKey opened;
    LSTATUS status = Open(root, key, kWriteAccess, opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    status = ::RegDeleteValueA(opened.Get(), name.c_str());
    return status == ERROR_SUCCESS || Fail(status);
}

bool QueryValue(HKEY root, const std::string &key, const std::string &name, uint32_t requestedType, Value &value) {
    RegKey opened;
    LSTATUS status = Open(root, key, KEY_QUERY_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    DWORD storedType = 0;
    DWORD size = 0;
    status = ::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &storedType, nullptr, &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
        return Fail(status);
    if (storedType != requestedType)
        return Fail(TypeMismatchText(storedType, requestedType));

    switch (storedType) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        std::vector<char> data(size);
        DWORD read = size;
        if (size > 0) {
            status = ::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr,
                                        reinterpret_cast<BYTE *>(data.data()), &read);
            if (status != ERROR_SUCCESS)
                return Fail(status);
        }
        std::string text = TextFromRegistryData(data.data(), read);
        value = storedType == REG_EXPAND_SZ ? ExpandString(text) : text;
        return true;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        // A short value would leave the rest of the number as it was: a 0-byte one would read as 0.
        if (size != DwordSize)
            return Fail(DwordSizeText(size));
        DWORD number = 0;
        DWORD read = sizeof number;
        status = ::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&number),
                                    &read);
        if (status != ERROR_SUCCESS)
            return Fail(status);
        if (read != DwordSize)
            return Fail(DwordSizeText(read));
        value = static_cast<int32_t>(storedType == REG_DWORD ? number : SwapDword(number));
        return true;
    }
    default: {
        // One element more than the data, left 0, as the callers of this store have always received.
        std::vector<uint8_t> bytes(size + 1, 0);
        DWORD read = size;
        status = ::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, bytes.data(), &read);
        if (status != ERROR_SUCCESS)
            return Fail(status);
        value = std::move(bytes);
        return true;
    }
    }
}

bool SetValue(HKEY root, const std::string &key, const std::string &name, uint32_t &type, const Value &value) {
    RegKey opened;
    LSTATUS status = Open(root, key, KEY_SET_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);

    std::vector<uint8_t> data;
    DWORD writtenType = 0;
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const std::string text = AsText(value);
        writtenType = TextValueType(text);
        data.assign(text.begin(), text.end());
        data.push_back(0);
        break;
    }
    case REG_BINARY:
        if (const auto *bytes = std::get_if<std::vector<uint8_t>>(&value)) {
            data = *bytes;
            writtenType = REG_BINARY;
            break;
        }
        return Fail(InconsistentValueText);
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        uint32_t number = 0;
        if (const auto *small = std::get_if<int16_t>(&value))
            number = static_cast<uint32_t>(static_cast<int32_t>(*small));
        else if (const auto *full = std::get_if<int32_t>(&value))
            number = static_cast<uint32_t>(*full);
        else
            return Fail(InconsistentValueText);
        // Written as REG_DWORD, least significant byte first, for either requested type.
        data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
                static_cast<uint8_t>(number >> 24)};
        writtenType = REG_DWORD;
        break;
    }
    default:
        return Fail(IncompatibleTypeText);
    }

    type = writtenType;
    status = ::RegSetValueExA(opened.Get(), name.c_str(), 0, writtenType, data.data(), static_cast<DWORD>(data.size()));
    return status == ERROR_SUCCESS || Fail(status);
}

bool SetStringValue(HKEY root, const std::string &key, const std::string &name, const std::string &text) {
    RegKey opened;
    LSTATUS status = Open(root, key, KEY_SET_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    status = ::RegSetValueExA(opened.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    return status == ERROR_SUCCESS || Fail(status);
}

std::string ExpandString(const std::string &text) {
    const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed <= 1)
        return {};
    std::string expanded(needed, '\0');
    const DWORD written = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    expanded.resize(written > 0 && written <= needed ? written - 1 : 0);
    return expanded;
}

const std::string &RegistryErrorText() {
    return g_errorText;
}

}  // namespace Registry
