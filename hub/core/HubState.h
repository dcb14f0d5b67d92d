// The hub's decisions that need no Windows: which desktop a hot key asks for, when a switch command moves
// the current and previous desktop, the hot-key settings' defaults, and the sibling programs' paths.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class DesktopState {
public:
    int16_t CurrentDesktop() const { return m_current; }
    int16_t PreviousDesktop() const { return m_previous; }
    // The end of start-up: desktop 1 shown, no previous one.
    void Started() {
        m_current = 1;
        m_previous = 0;
    }
    // The desktop hot key `id` asks for, or 0 when it asks for nothing.
    int16_t HotKeyTarget(int32_t id) const;
    // Whether a switch command for `desk` calls for a switch at all.
    bool WantsSwitch(int16_t desk) const { return desk >= 1 && desk <= 4 && desk != m_current; }
    // Only a switch that was made moves the state: (c, p) becomes (desk, c).
    void Switched(int16_t desk);

private:
    int16_t m_current = 0;
    int16_t m_previous = 0;
};

inline constexpr int32_t HotKeyCount = 5;  // ids 1..4 for the desktops, 5 for the previous one

struct HotKeySettings {
    int32_t modifiers = 8;
    std::array<uint16_t, HotKeyCount> keys = {49, 50, 51, 52, 192};  // ids 1..5
};
// A stored modifier value outside 0..15, or none, is taken as the Windows key.
int32_t ModifiersOrDefault(std::optional<int32_t> stored);
// A stored key value is used by its low 16 bits; none gives the id's default.
uint16_t KeyOrDefault(std::optional<int32_t> stored, int32_t id);
// Registry value names of the keys of ids 1..5.
std::string HotKeyValueName(int32_t id);

std::wstring SwitcherPath(const std::wstring &programDirectory, int16_t desk);
// Pellum1..4 for the desktops; any other number names the hub relay.
std::wstring EventHandlerPath(const std::wstring &programDirectory, int16_t desk);
