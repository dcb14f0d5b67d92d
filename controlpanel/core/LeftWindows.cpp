#include "LeftWindows.h"

#include "core/ProgramFiles.h"

namespace {

constexpr size_t kMaxTitle = 48;
constexpr size_t kMaxListed = 8;

// At most `count` UTF-16 units, never half of a surrogate pair.
std::wstring_view CutTitle(std::wstring_view title, size_t count) {
    if (title.size() <= count)
        return title;
    const bool splitsPair = title[count - 1] >= 0xD800 && title[count - 1] <= 0xDBFF;
    return title.substr(0, splitsPair ? count - 1 : count);
}

std::wstring Question(const std::vector<std::wstring> &lines, std::wstring_view consequence) {
    if (lines.empty())
        return {};
    std::wstring text = L"These windows are open on Varnel's other desktops:\n\n";
    for (size_t i = 0; i < lines.size() && i < kMaxListed; ++i)
        text += L"\u2022 " + lines[i] + L"\n";
    if (lines.size() > kMaxListed)
        text += L"and " + std::to_wstring(lines.size() - kMaxListed) + L" more\n";
    return text + L"\n" + std::wstring(consequence);
}

}  // namespace

std::wstring DesktopObjectName(int16_t desk) {
    return L"desk" + std::to_wstring(desk);
}

bool IsUsersWindow(const TopWindow &window) {
    if (!window.visible || window.owned || window.toolWindow)
        return false;
    // Varnel's own windows end with the set; the shell's belong to the desktop itself.
    const std::wstring_view program = FileNameOf(window.imagePath);
    return !IsVarnelProgramFile(program) && !EqualIgnoringCase(program, L"explorer.exe");
}

std::wstring DeskDisplayName(int16_t desk, const std::optional<std::wstring> &stored) {
    return stored && !stored->empty() ? *stored : L"Desktop " + std::to_wstring(desk);
}

std::wstring LeftWindowLine(const TopWindow &window, std::wstring_view deskName) {
    std::wstring name(window.title.empty() ? FileNameOf(window.imagePath) : CutTitle(window.title, kMaxTitle));
    if (name.size() < window.title.size())
        name += L"...";
    return name + L" (" + std::wstring(deskName) + L")";
}

std::wstring ShutdownQuestion(const std::vector<std::wstring> &lines) {
    return Question(lines,
                    L"After Shutdown they cannot be reached until Varnel starts again. Choose OK to shut "
                    L"Varnel down anyway, or Cancel to keep it running.");
}

std::wstring UninstallQuestion(const std::vector<std::wstring> &lines) {
    return Question(lines,
                    L"Once Varnel is removed they cannot be reached until you log off, and unsaved work in "
                    L"them may be lost. Choose OK to remove Varnel anyway, or Cancel to keep it.");
}
