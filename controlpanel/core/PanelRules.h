// The control panel's settings rules without Windows: the working copy and its defaults, how stored values
// become it, what a save writes in which order with which failure text, and the texts the panel shows.
#pragma once
#include <array>
#include <cstdint>
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

inline constexpr int16_t DefaultModifiers = 8;  // WIN
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
    std::array<int16_t, 4> deskKeys = {49, 50, 51, 52};  // the keys 1..4 of the main block
    int16_t previousKey = 192;                           // VK_OEM_3, left of 1 on a US layout
};

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
// row, or one some other program holds. Rows are 1..4 (the desktops) and 5 (the previous desktop).
enum class HotKeyState { Free, Varnels, SameAsRow, Taken };
struct HotKeyStatus {
    HotKeyState state = HotKeyState::Free;
    int16_t row = 0;  // the other row, for SameAsRow
    bool operator==(const HotKeyStatus &) const = default;
};
// The row whose key `keys` repeats for `row`, the first such; none when the key is its own.
std::optional<int16_t> SameKeyRow(const std::array<int16_t, 5> &keys, int16_t row);
// A combination the panel could not register itself: the hub's when the hub runs and holds it, else another's.
HotKeyStatus TriedStatus(bool registered, bool hubHoldsIt);
std::string HotKeyStatusText(const HotKeyStatus &status);
