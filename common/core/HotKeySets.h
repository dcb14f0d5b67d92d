// The hot-key sets a first start tries, in order, and how the hub makes known which of its keys Windows gave
// it. Pure: no Windows header.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr int32_t HotKeyCount = 5;  // ids 1..4 for the desktops, 5 for the previous one

// One modifier value for all five keys (1 Alt, 2 Control, 4 Shift, 8 the Windows key) and the virtual keys of
// ids 1..5.
struct HotKeySet {
    int32_t modifiers = 8;
    std::array<uint16_t, HotKeyCount> keys = {49, 50, 51, 52, 192};
    bool operator==(const HotKeySet &) const = default;
};
// WIN + 1..4 and WIN + ` (VK_OEM_3): the keys without stored settings.
inline constexpr HotKeySet DefaultHotKeySet{};

// Without stored hot keys a start tries these whole sets in order, the default first, and keeps the first that
// Windows grants whole.
std::span<const HotKeySet> FirstStartHotKeySets();

// What a first start took: the place in FirstStartHotKeySets() of the first set Windows granted whole (none when
// it granted none whole), and the ids of the default set that Windows refused.
struct FirstStartChoice {
    std::optional<size_t> taken;
    std::vector<int32_t> refusedDefaultIds;
};
// Tries FirstStartHotKeySets() in order and stops at the first set granted whole. `tryWhole` registers a set's
// five keys and answers the ids refused; when it refuses any, it has let go of the others again.
FirstStartChoice ChooseFirstStartSet(const std::function<std::vector<int32_t>(const HotKeySet &)> &tryWhole);

// The text of the first-start report (code 9): the modifier text, the names of the keys of ids 1..5, then the
// default set's keys that were refused, each as "MODIFIERS + KEY". No key of the sets is named by the separator.
inline constexpr char FirstStartReportSeparator = '|';
std::string FirstStartReportText(const std::string &modifierText, const std::array<std::string, HotKeyCount> &keyNames,
                                 const std::vector<std::string> &refusedKeys);

// Windows' "no auto-repeat" flag (Windows 7 and later): added to every registration, never stored, so that a
// held key switches once.
inline constexpr uint32_t ModNoRepeat = 0x4000;

// The hub rewrites, at every registration, which ids Windows gave it (bit id - 1), in a volatile key of its
// own under HKEY_CURRENT_USER that is gone after log-off; the hub deletes it when it ends.
inline constexpr const char *HubStateKey = "Software\\Varnel\\Hub";
inline constexpr const char *HeldHotKeysValue = "HeldHotKeys";
inline constexpr bool HoldsHotKey(uint32_t heldMask, int32_t id) {
    return id >= 1 && id <= HotKeyCount && (heldMask >> (id - 1) & 1u) != 0;
}
