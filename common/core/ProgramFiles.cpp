#include "ProgramFiles.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace {

constexpr std::array<std::wstring_view, 9> kSet = {L"Tavik1.exe",  L"Tavik2.exe",  L"Tavik3.exe",
                                                   L"Tavik4.exe",  L"Pellum1.exe", L"Pellum2.exe",
                                                   L"Pellum3.exe", L"Pellum4.exe", L"VarnelEventHandler.exe"};
constexpr std::array<std::wstring_view, 3> kOthers = {L"Varnel.exe", L"VarnelControlPanel.exe", L"varnelerror.exe"};

}  // namespace

std::span<const std::wstring_view> SetProgramFiles() {
    return kSet;
}

bool IsVarnelProgramFile(std::wstring_view fileName) {
    const auto same = [&](std::wstring_view name) { return EqualIgnoringCase(fileName, name); };
    return std::any_of(kSet.begin(), kSet.end(), same) || std::any_of(kOthers.begin(), kOthers.end(), same);
}

std::wstring_view FileNameOf(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}
