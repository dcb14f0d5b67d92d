// The settings store: small registry operations that each open a key, do one thing and close it again.
// A failing operation answers false and leaves its reason in RegistryErrorText().
#pragma once
#include "core/RegistryRules.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace Registry {

inline constexpr const char *SettingsKey = "Software\\Varnel";
inline constexpr const char *RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char *RunValue = "Varnel";

// A value as it travels in and out: text, a 16- or 32-bit integer, or bytes.
using Value = std::variant<std::monostate, std::string, int16_t, int32_t, std::vector<uint8_t>>;

bool KeyExists(HKEY root, const std::string &key);
bool ValueExists(HKEY root, const std::string &key, const std::string &name);
// A volatile key lives until log-off. Windows makes every key the call creates volatile, parents included, and a
// volatile key takes no lasting subkeys: a volatile key's parent is created first, as a lasting one.
bool CreateKey(HKEY root, const std::string &key, bool isVolatile = false);
// Deletes a key that has no subkeys.
bool DeleteKey(HKEY root, const std::string &key);
bool DeleteValue(HKEY root, const std::string &key, const std::string &name);
// True when the value exists with the requested type and was read.
bool QueryValue(HKEY root, const std::string &key, const std::string &name, uint32_t requestedType, Value &value);
// Writes into an existing key; `type` comes back as the type written.
bool SetValue(HKEY root, const std::string &key, const std::string &name, uint32_t &type, const Value &value);
// Writes `text` as REG_SZ whatever it holds, so that it reads back exactly as written: SetValue stores a text
// with a name between two "%" signs as REG_EXPAND_SZ, which expands (or fails a REG_SZ read) later.
bool SetStringValue(HKEY root, const std::string &key, const std::string &name, const std::string &text);
std::string ExpandString(const std::string &text);
const std::string &RegistryErrorText();

}  // namespace Registry
