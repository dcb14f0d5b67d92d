#include "LargeViewKeys.h"

KeyAction LargeViewKey(int16_t selection, uint32_t keyCode) {
    if (selection < 1 || selection > 4)
        return {};
    const int16_t column = (selection - 1) % 2;
    const int16_t row = (selection - 1) / 2;
    auto move = [&](bool possible, int16_t step) {
        return possible ? KeyAction{KeyActionKind::Move, static_cast<int16_t>(selection + step)} : KeyAction{};
    };
    switch (keyCode) {
    case KeyEnter: return {KeyActionKind::Pick, selection};
    case KeyLeft: return move(column == 1, -1);
    case KeyRight: return move(column == 0, 1);
    case KeyUp: return move(row == 1, -2);
    case KeyDown: return move(row == 0, 2);
    default: return {};
    }
}

std::string NotVisitedText(std::string_view desktopName) {
    return std::string(desktopName) + "\n\nIts picture appears here after you have been on this desktop once.";
}
