// The windows a user has open on desktops 2 to 4, as the control panel (before its Shutdown) and the uninstaller
// (through its setup plug-in) name them.
#pragma once
#include <string>
#include <vector>

// One line per window: its title and its desktop's name; those of desktop 2 first. A desktop that does not exist
// (never made, or gone with its last window) has none.
std::vector<std::wstring> WindowsOnOtherDesktops();
