#include "OtherDesktops.h"

#include "AnsiText.h"
#include "Handles.h"
#include "LeftWindows.h"
#include "Registry.h"

namespace {

struct Search {
    std::wstring deskName;
    std::vector<std::wstring> *lines;
};

std::wstring ImagePath(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, path, &size))
        return {};
    return std::wstring(path, size);
}

std::wstring Title(HWND window) {
    std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<size_t>(::GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
    return title;
}

BOOL CALLBACK AddUsersWindow(HWND window, LPARAM context) {
    auto &search = *reinterpret_cast<Search *>(context);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    // The style's own bit: IsWindowVisible also asks the desktop window, which Wine calls hidden for a desktop
    // other than the caller's.
    const TopWindow top{Title(window), ImagePath(window), (style & WS_VISIBLE) != 0,
                        ::GetWindow(window, GW_OWNER) != nullptr, (exStyle & WS_EX_TOOLWINDOW) != 0};
    if (IsUsersWindow(top))
        search.lines->push_back(LeftWindowLine(top, search.deskName));
    return TRUE;
}

std::optional<std::wstring> StoredName(int16_t desk) {
    Registry::Value value;
    const std::string name = "Desktop" + std::to_string(desk) + "Name";
    if (!Registry::QueryValue(HKEY_CURRENT_USER, Registry::SettingsKey, name, RegTypeSz, value))
        return std::nullopt;
    return ToWide(std::get<std::string>(value));
}

}  // namespace

std::vector<std::wstring> WindowsOnOtherDesktops() {
    std::vector<std::wstring> lines;
    for (int16_t desk = 2; desk <= 4; ++desk) {
        const Desktop desktop(
            ::OpenDesktopW(DesktopObjectName(desk).c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE));
        if (!desktop)
            continue;
        Search search{DeskDisplayName(desk, StoredName(desk)), &lines};
        ::EnumDesktopWindows(desktop.Get(), AddUsersWindow, reinterpret_cast<LPARAM>(&search));
    }
    return lines;
}
