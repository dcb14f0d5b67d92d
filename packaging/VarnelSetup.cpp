// VarnelSetup.dll, the uninstaller's NSIS plug-in: it names the windows an uninstall would leave out of reach on
// desktops 2 to 4, by the control panel's own rule. The script cannot enumerate a desktop's windows itself: the
// 64-bit System plug-in of NSIS 3.08 has no callbacks (EnumDesktopWindows through it crashes).
//   VarnelSetup::WindowsLeft     pushes the question to ask before the uninstall, or "" when there is none
#include "LeftWindows.h"
#include "OtherDesktops.h"

#include <windows.h>

namespace {

// An entry of NSIS's stack in its Unicode builds: the text has room for the script's string size.
struct StackEntry {
    StackEntry *next;
    wchar_t text[1];
};

void Push(StackEntry **top, int stringSize, const std::wstring &text) {
    const size_t characters = stringSize > 0 ? static_cast<size_t>(stringSize) : 1;
    auto *entry = static_cast<StackEntry *>(::GlobalAlloc(GPTR, sizeof(StackEntry) + characters * sizeof(wchar_t)));
    if (entry == nullptr)
        return;
    ::lstrcpynW(entry->text, text.c_str(), static_cast<int>(characters));
    entry->next = *top;
    *top = entry;
}

}  // namespace

extern "C" __declspec(dllexport) void __cdecl WindowsLeft(HWND, int stringSize, wchar_t *, StackEntry **top, void *) {
    Push(top, stringSize, UninstallQuestion(WindowsOnOtherDesktops()));
}
