#include "ReporterLayout.h"

#include <algorithm>

int TextWrapWidth(int lineHeight) {
    return 28 * lineHeight;
}

ReporterLayout LayoutReporter(int lineHeight, int iconSize, int textHeight, int maxTextHeight) {
    const int margin = lineHeight;
    ReporterLayout layout;
    layout.icon = {margin, margin, margin + iconSize, margin + iconSize};
    const int left = layout.icon.right + margin;
    const int height = std::max(lineHeight, std::min(textHeight, maxTextHeight));
    layout.text = {left, margin, left + TextWrapWidth(lineHeight), margin + height};
    layout.clientWidth = layout.text.right + margin;
    const int buttonTop = std::max(layout.icon.bottom, layout.text.bottom) + margin;
    // A push button a little taller than a line, wide enough for "OK" in any font.
    layout.button = {layout.clientWidth - margin - 6 * lineHeight, buttonTop, layout.clientWidth - margin,
                     buttonTop + lineHeight * 7 / 4};
    layout.clientHeight = layout.button.bottom + margin;
    return layout;
}

Box KeepInside(Box window, Box area) {
    const int dx = std::max(area.left - window.left, std::min(0, area.right - window.right));
    const int dy = std::max(area.top - window.top, std::min(0, area.bottom - window.bottom));
    return {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}
