#include "HotKeySets.h"

namespace {

constexpr uint16_t kF1 = 0x70, kF2 = 0x71, kF3 = 0x72, kF4 = 0x73, kF5 = 0x74;

// Explorer holds WIN + 0..9 (its taskbar buttons) on every Windows since 7, and WIN + ALT, WIN + CTRL and
// WIN + SHIFT with a digit are Windows' own as well, so no alternative uses the Windows key. CTRL + ALT is
// AltGr on many European layouts, where it types characters with digits and letters but with no function key.
// The function keys sit in the same place on every layout, unlike ` (VK_OEM_3, Ö on a German keyboard).
constexpr std::array<HotKeySet, 4> kSets = {{
    DefaultHotKeySet,
    {3, {kF1, kF2, kF3, kF4, kF5}},  // CTRL + ALT + F1..F4, F5 for the previous desktop
    {5, {49, 50, 51, 52, 192}},      // SHIFT + ALT + 1..4 and `: no layout types with Alt and Shift
    {7, {kF1, kF2, kF3, kF4, kF5}},  // CTRL + ALT + SHIFT + F1..F5: three modifiers, which programs hardly take
}};

}  // namespace

std::span<const HotKeySet> FirstStartHotKeySets() {
    return kSets;
}

FirstStartChoice ChooseFirstStartSet(const std::function<std::vector<int32_t>(const HotKeySet &)> &tryWhole) {
    FirstStartChoice choice;
    const std::span<const HotKeySet> sets = FirstStartHotKeySets();
    for (size_t at = 0; at < sets.size(); ++at) {
        std::vector<int32_t> refused = tryWhole(sets[at]);
        if (refused.empty()) {
            choice.taken = at;
            break;
        }
        if (at == 0)
            choice.refusedDefaultIds = std::move(refused);
    }
    return choice;
}

std::string FirstStartReportText(const std::string &modifierText, const std::array<std::string, HotKeyCount> &keyNames,
                                 const std::vector<std::string> &refusedKeys) {
    std::string text = modifierText;
    for (const std::string &name : keyNames)
        text += FirstStartReportSeparator + name;
    for (const std::string &refused : refusedKeys)
        text += FirstStartReportSeparator + refused;
    return text;
}
