// The control panel's settings rules without Windows: the working copy and its defaults, how stored values
// become it, what a save writes in which order with which failure text, and the texts the panel shows.
#pragma once
#include "core/HotKeySets.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

inline constexpr std::string_view FormCaption = "Varnel Control Panel";
inline constexpr std::string_view ProgramTitle = "VarnelControlPanel";  // the default title of its message boxes
inline constexpr std::string_view DesktopOneOnlyText =
    "The Start and Shutdown commands can only be invoked from Desktop 1.";
inline constexpr std::string_view AlreadyRunningText = "Varnel is are already running.";
inline constexpr std::string_view DialogCaption = "Record shortcut key";
inline constexpr std::string_view GuideFileName = "VarnelGuide.html";
inline constexpr std::string_view HubFileName = "Varnel.exe";

// Events set after a save ("ReadRegVarnel", "ReadRegSwitcher1".."4"), in this order: the hub first
// (Shutdown sets ShutdownEvents of the event table).
inline constexpr std::array<int16_t, 5> ReReadEvents = {46, 8, 18, 28, 38};

inline constexpr int16_t DefaultModifiers = DefaultHotKeySet.modifiers;
inline constexpr int16_t ModAlt = 1;
inline constexpr int16_t ModCtrl = 2;
inline constexpr int16_t ModShift = 4;
inline constexpr int16_t ModWin = 8;

// The working copy the form edits; the defaults are those of a missing settings key.
struct PanelSettings {
    bool transparency = true;
    bool autoStart = false;
    std::array<std::string, 4> deskNames = {"Desktop 1", "Desktop 2", "Desktop 3", "Desktop 4"};
    int16_t modifiers = DefaultModifiers;
    std::array<int16_t, 4> deskKeys = {DefaultHotKeySet.keys[0], DefaultHotKeySet.keys[1], DefaultHotKeySet.keys[2],
                                       DefaultHotKeySet.keys[3]};
    int16_t previousKey = DefaultHotKeySet.keys[4];
};

// The six hot-key values, the modifiers first, then the keys of ids 1..5. A start with none of them stored is a
// first start: the hub then takes the first of FirstStartHotKeySets() that Windows grants whole.
inline constexpr std::array<const char *, 6> HotKeyValueNames = {"ShortcutKeyModifiers", "ShortcutKeyDesktop1",
                                                                 "ShortcutKeyDesktop2",  "ShortcutKeyDesktop3",
                                                                 "ShortcutKeyDesktop4",  "ShortcutKeyPreviousDesktop"};
HotKeySet HotKeysOf(const PanelSettings &settings);
void SetHotKeys(PanelSettings &settings, const HotKeySet &set);
// What the form shows when no hot key is stored: what the running hub took (the default set, for a hub that
// takes another stores it), else what a first start would take now, the first set that `registersWhole`, else
// the default set.
HotKeySet FirstStartSetShown(bool hubRuns, const std::function<bool(const HotKeySet &)> &registersWhole);

// Stored DWORDs as the form takes them (nullopt: the read failed, so the default).
bool TransparencyFromStore(std::optional<int32_t> stored);
// Below 0 or above 15 counts as the default, WIN.
int16_t ModifiersFromStore(std::optional<int32_t> stored);
// The low 16 bits, as the hub registers them, so the form shows the key that is really in use.
int16_t KeyFromStore(std::optional<int32_t> stored, int16_t fallback);

// The four modifier boxes; "ticked" is a box's value of exactly 1.
struct ModifierBoxes {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    bool win = false;
    bool operator==(const ModifierBoxes &) const = default;
};
ModifierBoxes BoxesFromModifiers(int16_t modifiers);
int16_t ModifiersFromBoxes(const ModifierBoxes &boxes);

// One registry step of a save, in the order the save makes them.
struct SaveStep {
    enum class Action { WriteNumber, WriteText, Delete };
    Action action = Action::WriteNumber;
    std::string key;    // under HKEY_CURRENT_USER
    std::string name;
    std::variant<int32_t, std::string> data;
    std::string failure;  // the log text before the registry's reason and ")"
    bool operator==(const SaveStep &) const = default;
};
// Everything after the settings key is made sure of: transparency, the Run value (written when autostart is
// ticked, deleted when not and `runValueExists`, else nothing), the four names, the modifiers, the four keys
// and the previous-desktop key. `runData` is what the Run value holds.
std::vector<SaveStep> SaveSteps(const PanelSettings &settings, const std::string &runData, bool runValueExists);
std::string CreateKeyFailureText();

// The hub's path in `directory`, quoted, as the Run value and the hub's command line carry it so that a
// folder with blanks in its name starts the right program.
std::wstring HubPath(std::wstring_view directory);
std::wstring QuotedPath(std::wstring_view path);

// Start and Shutdown work only on the desktop the user logged on to; the spelling is compared exactly.
bool IsDesktopOne(std::wstring_view desktopName);
// A desktop name as GetUserObjectInformationW leaves it in its buffer: up to the first NUL after the first
// character.
std::wstring DesktopNameFromBuffer(const wchar_t *buffer, size_t characters);

// The recording dialog's prompt for key number 1..5 (desktops 1 to 4, then the previous desktop).
std::string RecordPrompt(int16_t keyNumber);

// The longest desktop name a name box takes, in characters: the popup shows it in one row on the smallest screen
// Windows runs on, and the tray tip shows all of it in plain letters.
inline constexpr int32_t DeskNameMaxLength = 32;

// Ctrl+Tab (+1) and Ctrl+Shift+Tab (-1) go round the pages; the arrow keys on the tab strip stop at its ends.
int16_t NextPage(int16_t page, int16_t step, int16_t count, bool wrap);

// What a hot-key row's combination meets: free, one the running hub holds, the same key as an earlier or later
// row, one of Windows' own taskbar keys, or one some other program holds. Rows are 1..4 (the desktops) and 5 (the
// previous desktop).
enum class HotKeyState { Free, Varnels, SameAsRow, Windows, Taken };
struct HotKeyStatus {
    HotKeyState state = HotKeyState::Free;
    int16_t row = 0;  // the other row, for SameAsRow
    bool operator==(const HotKeyStatus &) const = default;
};
// The row whose key `keys` repeats for `row`, the first such; none when the key is its own.
std::optional<int16_t> SameKeyRow(const std::array<int16_t, 5> &keys, int16_t row);
// The running hub's keys: those it asked Windows for (the stored ones), and which ids it got (bit id - 1).
struct HubHotKeys {
    bool runs = false;
    uint32_t heldMask = 0;
    HotKeySet stored;
};
// A combination the panel could not register itself is Varnel's only when the running hub holds an id with
// that very combination; WIN with a digit, with or without ALT, CTRL and SHIFT, is Windows' (its taskbar's);
// anything else another program's.
HotKeyStatus TriedStatus(bool registered, int32_t modifiers, uint16_t key, const HubHotKeys &hub);
std::string HotKeyStatusText(const HotKeyStatus &status);
