// Which windows a Shutdown or an uninstall leaves out of reach on desktops 2 to 4, and the question that names
// them. A window cannot move to another desktop, so once the set has ended they stay where nobody can switch.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A top-level window as its desktop's enumeration gives it.
struct TopWindow {
    std::wstring title;
    std::wstring imagePath;  // the program's file; empty when it could not be read
    bool visible = false;    // WS_VISIBLE in its own style
    bool owned = false;      // an owned window goes with its owner, which is named instead
    bool toolWindow = false;
};

// The desktop objects of desktops 2 to 4: "desk2".."desk4".
std::wstring DesktopObjectName(int16_t desk);

// A window the user would miss: shown, not owned, not a tool window, and not of the shell (explorer.exe) or of
// one of Varnel's own programs.
bool IsUsersWindow(const TopWindow &window);

// The desktop's name as the user knows it: the stored name, or "Desktop N" when none is stored or it is empty.
std::wstring DeskDisplayName(int16_t desk, const std::optional<std::wstring> &stored);

// "Title (desktop name)": a window without a title is named by its program's file name, a long title is cut.
std::wstring LeftWindowLine(const TopWindow &window, std::wstring_view deskName);

// The questions before the control panel's Shutdown and before an uninstall, empty when no line is given. They
// list at most a few lines and count the rest, so the uninstaller's text stays within NSIS's 1024 characters.
std::wstring ShutdownQuestion(const std::vector<std::wstring> &lines);
std::wstring UninstallQuestion(const std::vector<std::wstring> &lines);
