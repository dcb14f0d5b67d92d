#include "WinAPIError.h"

#include "AnsiText.h"

#include <windows.h>

std::string WinAPIErrorText(uint32_t code) {
    wchar_t buffer[256] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                          buffer, 256, nullptr);
    return length > 0 ? ToAnsi(std::wstring_view(buffer, length)) : std::string();
}
