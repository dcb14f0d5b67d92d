#include "PanelRules.h"

namespace {

constexpr const char *kSettingsKey = "Software\\Varnel";
constexpr const char *kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::array<std::string_view, 5> kPromptEndings = {"Desktop 1.", "Desktop 2.", "Desktop 3.", "Desktop 4.",
                                                            "the previous desktop."};

std::string WriteFailureText(std::string_view name) {
    return "ControlPanel: Unable to write value " + std::string(name) +
           " to registry key HKEY_CURRENT_USER\\Software\\Varnel (";
}

SaveStep Number(std::string name, int32_t value) {
    std::string failure = WriteFailureText(name);
    return {SaveStep::Action::WriteNumber, kSettingsKey, std::move(name), value, std::move(failure)};
}

SaveStep Text(std::string name, std::string value) {
    std::string failure = WriteFailureText(name);
    return {SaveStep::Action::WriteText, kSettingsKey, std::move(name), std::move(value), std::move(failure)};
}

}  // namespace

bool TransparencyFromStore(std::optional<int32_t> stored) {
    return !stored || *stored != 0;
}

int16_t ModifiersFromStore(std::optional<int32_t> stored) {
    if (!stored || *stored < 0 || *stored > 15)
        return DefaultModifiers;
    return static_cast<int16_t>(*stored);
}

int16_t KeyFromStore(std::optional<int32_t> stored, int16_t fallback) {
    return stored ? static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(*stored) & 0xFFFF)) : fallback;
}

ModifierBoxes BoxesFromModifiers(int16_t modifiers) {
    return {.alt = (modifiers & ModAlt) != 0,
            .ctrl = (modifiers & ModCtrl) != 0,
            .shift = (modifiers & ModShift) != 0,
            .win = (modifiers & ModWin) != 0};
}

int16_t ModifiersFromBoxes(const ModifierBoxes &boxes) {
    return static_cast<int16_t>((boxes.win ? ModWin : 0) + (boxes.alt ? ModAlt : 0) + (boxes.ctrl ? ModCtrl : 0) +
                                (boxes.shift ? ModShift : 0));
}

std::vector<SaveStep> SaveSteps(const PanelSettings &settings, const std::string &runData, bool runValueExists) {
    std::vector<SaveStep> steps;
    steps.push_back(Number("GUItransparency", settings.transparency ? 1 : 0));
    if (settings.autoStart)
        steps.push_back({SaveStep::Action::WriteText, kRunKey, "Varnel", runData,
                         "ControlPanel: Unable to set registry value in "
                         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run ("});
    else if (runValueExists)
        steps.push_back({SaveStep::Action::Delete, kRunKey, "Varnel", std::string(),
                         "ControlPanel: Unable to delete registry value in "
                         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run ("});
    for (size_t i = 0; i < settings.deskNames.size(); ++i)
        steps.push_back(Text("Desktop" + std::to_string(i + 1) + "Name", settings.deskNames[i]));
    steps.push_back(Number(HotKeyValueNames[0], settings.modifiers));
    for (size_t i = 0; i < settings.deskKeys.size(); ++i)
        steps.push_back(Number(HotKeyValueNames[i + 1], settings.deskKeys[i]));
    steps.push_back(Number(HotKeyValueNames[5], settings.previousKey));
    return steps;
}

std::string CreateKeyFailureText() {
    return "ControlPanel: Unable to open or create registry key HKEY_CURRENT_USER\\Software\\Varnel (";
}

std::wstring HubPath(std::wstring_view directory) {
    return std::wstring(directory) + L"\\" + std::wstring(HubFileName.begin(), HubFileName.end());
}

std::wstring QuotedPath(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

bool IsDesktopOne(std::wstring_view desktopName) {
    return desktopName == L"Default" || desktopName == L"default";
}

std::wstring DesktopNameFromBuffer(const wchar_t *buffer, size_t characters) {
    std::wstring name(buffer, characters);
    const size_t end = name.find(L'\0', 1);
    if (end != std::wstring::npos)
        name.resize(end);
    return name;
}

std::string RecordPrompt(int16_t keyNumber) {
    std::string prompt = "Press a key on the keyboard to record the shortcut key for switching to ";
    if (keyNumber >= 1 && keyNumber <= 5)
        prompt += kPromptEndings[static_cast<size_t>(keyNumber - 1)];
    return prompt;
}

int16_t NextPage(int16_t page, int16_t step, int16_t count, bool wrap) {
    if (count <= 0)
        return page;
    const int next = page + step;
    if (wrap)
        return static_cast<int16_t>(((next % count) + count) % count);
    return static_cast<int16_t>(next < 0 ? 0 : next >= count ? count - 1 : next);
}

std::optional<int16_t> SameKeyRow(const std::array<int16_t, 5> &keys, int16_t row) {
    if (row < 1 || row > 5)
        return std::nullopt;
    for (int16_t other = 1; other <= 5; ++other) {
        if (other != row && keys[static_cast<size_t>(other - 1)] == keys[static_cast<size_t>(row - 1)])
            return other;
    }
    return std::nullopt;
}

HotKeySet HotKeysOf(const PanelSettings &settings) {
    HotKeySet set{settings.modifiers, {}};
    for (size_t i = 0; i < settings.deskKeys.size(); ++i)
        set.keys[i] = static_cast<uint16_t>(settings.deskKeys[i]);
    set.keys[4] = static_cast<uint16_t>(settings.previousKey);
    return set;
}

void SetHotKeys(PanelSettings &settings, const HotKeySet &set) {
    settings.modifiers = static_cast<int16_t>(set.modifiers);
    for (size_t i = 0; i < settings.deskKeys.size(); ++i)
        settings.deskKeys[i] = static_cast<int16_t>(set.keys[i]);
    settings.previousKey = static_cast<int16_t>(set.keys[4]);
}

HotKeySet FirstStartSetShown(bool hubRuns, const std::function<bool(const HotKeySet &)> &registersWhole) {
    if (hubRuns)
        return DefaultHotKeySet;
    // The hub's own choice, with the panel's trial as Windows' answer (which ids it refused does not matter here).
    const FirstStartChoice choice = ChooseFirstStartSet([&](const HotKeySet &set) {
        return registersWhole(set) ? std::vector<int32_t>() : std::vector<int32_t>{1};
    });
    return choice.taken ? FirstStartHotKeySets()[*choice.taken] : DefaultHotKeySet;
}

HotKeyStatus TriedStatus(bool registered, int32_t modifiers, uint16_t key, const HubHotKeys &hub) {
    if (registered)
        return {HotKeyState::Free, 0};
    if (hub.runs && modifiers == hub.stored.modifiers) {
        for (int32_t id = 1; id <= HotKeyCount; ++id)
            if (hub.stored.keys[static_cast<size_t>(id - 1)] == key && HoldsHotKey(hub.heldMask, id))
                return {HotKeyState::Varnels, 0};
    }
    const bool taskbarKey = (modifiers & ModWin) != 0 && key >= '0' && key <= '9';
    return {taskbarKey ? HotKeyState::Windows : HotKeyState::Taken, 0};
}

std::string HotKeyStatusText(const HotKeyStatus &status) {
    switch (status.state) {
    case HotKeyState::Free: return "Free";
    case HotKeyState::Varnels: return "In use by Varnel";
    case HotKeyState::SameAsRow:
        return status.row == 5 ? std::string("Same as previous")
                               : "Same as Desktop " + std::to_string(status.row);
    case HotKeyState::Windows: return "Windows' taskbar key";
    case HotKeyState::Taken: return "Held by another program";
    }
    return {};
}
