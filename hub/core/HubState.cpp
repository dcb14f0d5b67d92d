#include "HubState.h"

#include "core/ProgramFiles.h"



bool RefusesElevatedStart(int32_t elevationType, std::optional<uint32_t> enableLua) {
    return elevationType == ElevationTypeFull && enableLua.value_or(1) != 0;
}

bool StartsAgainOnDesktopOne(std::wstring_view threadDesktop) {
    // Desktop names are told apart without letter case.
    return !threadDesktop.empty() && !EqualIgnoringCase(threadDesktop, L"Default");
}

int16_t DesktopState::HotKeyTarget(int32_t id) const {
    if (id >= 1 && id <= 4)
        return id != m_current ? static_cast<int16_t>(id) : 0;
    if (id == 5 && m_previous >= 1 && m_previous <= 4)
        return m_previous;
    return 0;
}

void DesktopState::Switched(int16_t desk) {
    if (!WantsSwitch(desk))
        return;
    m_previous = m_current;
    m_current = desk;
}

int32_t ModifiersOrDefault(std::optional<int32_t> stored) {
    return stored && *stored >= 0 && *stored <= 15 ? *stored : HotKeySettings{}.modifiers;
}

uint16_t KeyOrDefault(std::optional<int32_t> stored, int32_t id) {
    if (stored)
        return static_cast<uint16_t>(*stored & 0xFFFF);
    return HotKeySettings{}.keys[static_cast<size_t>(id - 1)];
}

std::string HotKeyValueName(int32_t id) {
    return id == 5 ? "ShortcutKeyPreviousDesktop" : "ShortcutKeyDesktop" + std::to_string(id);
}

std::wstring SwitcherPath(const std::wstring &programDirectory, int16_t desk) {
    return programDirectory + L"\\Tavik" + std::to_wstring(desk) + L".exe";
}

std::wstring EventHandlerPath(const std::wstring &programDirectory, int16_t desk) {
    if (desk >= 1 && desk <= 4)
        return programDirectory + L"\\Pellum" + std::to_wstring(desk) + L".exe";
    return programDirectory + L"\\VarnelEventHandler.exe";
}

std::vector<DesktopProgram> StartOrder(int16_t desk) {
    if (desk == 1)  // desktop 1 has its shell already
        return {DesktopProgram::Relay, DesktopProgram::HubRelay, DesktopProgram::Switcher};
    return {DesktopProgram::Relay, DesktopProgram::Shell, DesktopProgram::Switcher};
}

bool SameProgramPath(std::wstring_view a, std::wstring_view b) {
    return !a.empty() && EqualIgnoringCase(a, b);
}

bool IsShellProcess(std::wstring_view imagePath, std::wstring_view explorerPath, bool ownsDesktopWindow) {
    // By file name: Wine names the same shell program "C:\windows\explorer.exe" or, at other times,
    // "C:\windows\system32\explorer.exe".
    return !ownsDesktopWindow && SameProgramPath(FileNameOf(imagePath), FileNameOf(explorerPath));
}
