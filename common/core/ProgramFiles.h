// Varnel's programs by file name, and names compared as Windows compares them. Pure: no Windows header.
#pragma once
#include <span>
#include <string_view>

// The programs a hub starts on the desktops: the four switchers, the four desktops' relays and its own relay.
std::span<const std::wstring_view> SetProgramFiles();
// Any program of Varnel's: one of the set, the hub, the control panel or the error reporter.
bool IsVarnelProgramFile(std::wstring_view fileName);
// The part of a path after its last backslash or slash.
std::wstring_view FileNameOf(std::wstring_view path);
// Without regard to letter case, as Windows compares file and desktop names.
bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b);
