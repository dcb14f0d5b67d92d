// Conversions between the system's ANSI code page, which events, registry and logs use, and UTF-16.
#pragma once
#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text);
std::string ToAnsi(std::wstring_view text);
// The running program's folder, without a trailing backslash.
std::wstring ProgramDirectory();
