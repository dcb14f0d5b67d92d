#include "TrayRecord.h"

#include "core/Utf8.h"

#include <algorithm>

std::array<char, TrayTipSize> TrayTipBytes(std::string_view ansiText, bool utf8) {
    std::array<char, TrayTipSize> bytes;
    bytes.fill(' ');
    const size_t kept = utf8 ? Utf8Prefix(ansiText, TrayTipSize - 1).size() : std::min(ansiText.size(), TrayTipSize - 1);
    std::copy_n(ansiText.begin(), kept, bytes.begin());
    bytes[kept] = '\0';
    return bytes;
}

TrayEvent TrayEventOf(uint32_t mouseMessage) {
    switch (mouseMessage) {
    case 0x201: return {TrayEventKind::MouseDown, 1};
    case 0x202: return {TrayEventKind::MouseUp, 1};
    case 0x203: return {TrayEventKind::MouseDblClick, 1};
    case 0x204: return {TrayEventKind::MouseDown, 2};
    case 0x205: return {TrayEventKind::MouseUp, 2};
    case 0x206: return {TrayEventKind::MouseDblClick, 2};
    default: return {};
    }
}
