// The hub's decisions that need no Windows: whether it may start at all and where, which desktop a hot key asks
// for, when a switch command moves the current and previous desktop, the hot-key settings' defaults, the sibling
// programs' paths, and what each desktop starts.
#pragma once
#include "core/HotKeySets.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// TOKEN_ELEVATION_TYPE's answer for a token elevated by UAC.
inline constexpr int32_t ElevationTypeFull = 2;
// Whether a hub with a token of `elevationType` ends at once: elevated while UAC is on, the panel could not reach
// it. `enableLua` is UAC's switch in the policies, on by Windows' default when it cannot be read; Wine gives every
// process a full token and sets the switch off.
bool RefusesElevatedStart(int32_t elevationType, std::optional<uint32_t> enableLua);
// Whether a hub on the desktop named `threadDesktop` starts itself again on "Default", where relays look for its
// window; not when the name could not be read, which a hub started again would not read either.
bool StartsAgainOnDesktopOne(std::wstring_view threadDesktop);

class DesktopState {
public:
    int16_t CurrentDesktop() const { return m_current; }
    int16_t PreviousDesktop() const { return m_previous; }
    // The end of start-up: `shown` is the desktop the display is on (1 unless the switch back failed).
    void Started(int16_t shown) {
        m_current = shown >= 1 && shown <= 4 ? shown : 1;
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

using HotKeySettings = HotKeySet;
// A stored modifier value outside 0..15, or none, is taken as the Windows key.
int32_t ModifiersOrDefault(std::optional<int32_t> stored);
// A stored key value is used by its low 16 bits; none gives the id's default.
uint16_t KeyOrDefault(std::optional<int32_t> stored, int32_t id);
// Registry value names of the keys of ids 1..5.
std::string HotKeyValueName(int32_t id);

std::wstring SwitcherPath(const std::wstring &programDirectory, int16_t desk);
// Pellum1..4 for the desktops; any other number names the hub relay.
std::wstring EventHandlerPath(const std::wstring &programDirectory, int16_t desk);

// The programs a desktop starts, in this order. Its relay comes first: a desktop whose relay cannot start fails
// before it has started a switcher that no relay could tell to end.
enum class DesktopProgram { Relay, HubRelay, Shell, Switcher };
std::vector<DesktopProgram> StartOrder(int16_t desk);
// Only a relay that cannot start fails its desktop; a shell or a switcher is logged and start-up goes on.
inline bool FailsDesktop(DesktopProgram program) {
    return program == DesktopProgram::Relay || program == DesktopProgram::HubRelay;
}
// Whether two paths name the same program file (Windows compares them without letter case).
bool SameProgramPath(std::wstring_view a, std::wstring_view b);
// Whether a process that owns a window of a desktop is that desktop's shell: it runs a program of the shell's
// file name and is not the owner of the desktop window itself (Wine runs each desktop from an explorer.exe too).
bool IsShellProcess(std::wstring_view imagePath, std::wstring_view explorerPath, bool ownsDesktopWindow);
