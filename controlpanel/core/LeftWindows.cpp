#include "LeftWindows.h"

#include <algorithm>
#include <array>

namespace {

// Varnel's own programs and the shell: their windows end with the set or belong to the desktop itself.
constexpr std::array<std::wstring_view, 13> kNotTheUsers = {L"Varnel.exe",
                                                            L"Tavik1.exe",
                                                            L"Tavik2.exe",
                                                            L"Tavik3.exe",
                                                            L"Tavik4.exe",
                                                            L"Pellum1.exe",
                                                            L"Pellum2.exe",
                                                            L"Pellum3.exe",
                                                            L"Pellum4.exe",
                                                            L"VarnelEventHandler.exe",
                                                            L"VarnelControlPanel.exe",
                                                            L"varnelerror.exe",
                                                            L"explorer.exe"};
constexpr size_t kMaxTitle = 48;
constexpr size_t kMaxListed = 8;

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// File names compare as Windows compares them for these ASCII names: without regard to case.
bool SameFileName(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

std::wstring_view FileName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

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
    const std::wstring_view program = FileName(window.imagePath);
    return std::none_of(kNotTheUsers.begin(), kNotTheUsers.end(),
                        [&](std::wstring_view name) { return SameFileName(program, name); });
}

std::wstring DeskDisplayName(int16_t desk, const std::optional<std::wstring> &stored) {
    return stored && !stored->empty() ? *stored : L"Desktop " + std::to_wstring(desk);
}

std::wstring LeftWindowLine(const TopWindow &window, std::wstring_view deskName) {
    std::wstring name(window.title.empty() ? FileName(window.imagePath) : CutTitle(window.title, kMaxTitle));
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
