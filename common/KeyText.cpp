#include "KeyText.h"

#include <windows.h>

std::string KeyText(uint16_t virtualKey) {
    const UINT mapped = ::MapVirtualKeyExA(virtualKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
    char name[256] = {};
    const int length = ::GetKeyNameTextA(KeyNameArgument(KeyScanCode(virtualKey, mapped)), name, 255);
    return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}
